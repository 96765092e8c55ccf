#pragma once

namespace ravo {

// The update manifest published on the maker's web server.
struct UpdateManifest {
    void clear() {}
};

}  // namespace ravo
