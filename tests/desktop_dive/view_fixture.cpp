#include "view_fixture.h"

#include <gtest/gtest.h>

namespace ravo::test {

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
