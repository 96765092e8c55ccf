#include "view_fixture.h"

#include <gtest/gtest.h>

#include "link/messages.h"

namespace ravo::test {

intptr_t RequestFrame::sendMessage(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    Request request{message, {}};
    if ((message == UM_REQ_READ_DIVE || message == UM_REQ_READ_REDBOX) && lParam)
        request.entries.push_back(*reinterpret_cast<const CDiveInfo*>(lParam));
    else if (message == UM_REQ_READ_DIVES && lParam)
        request.entries = *reinterpret_cast<const std::vector<CDiveInfo>*>(lParam);
    (void)wParam;
    requests.push_back(std::move(request));
    return 1;
}

ViewFixture::ViewFixture()
{
    auto store = std::make_unique<MemoryConfigStore>();
    store->values["KTLS/DIVEFOLDER"] = diveFolder();
    store->values["KTLS/LINK"] = "sim";
    app.config.startFolder = home.path();
    std::string error;
    EXPECT_TRUE(app.startUp(std::move(store), error)) << error;
}

ViewFixture::~ViewFixture()
{
    app.shutDown();
}

}  // namespace ravo::test
