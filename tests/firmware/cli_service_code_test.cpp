// --service-code without --service-cdata checks the code against the
// enciphered code of the manifest fetched from the configured UPDATEURL.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "support/http_server.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace ravo {
namespace {

// The code enciphered as the maker publishes it: key QUINTABREL.
std::string encipher(const std::string& code)
{
    const std::string key = "QUINTABREL";
    std::string out;
    for (size_t i = 0; i < code.size(); ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", unsigned((code[i] - 32 + key[i % (key.size() + 1)]) & 0xFF));
        out += pair;
    }
    return out;
}

struct CliWithUpdateUrl {
    explicit CliWithUpdateUrl(const std::string& url)
    {
        test::presetCliStore(home, "KTLS", "UPDATEURL", url);
    }
    test::ProgramResult run(const std::vector<std::string>& args)
    {
        return test::runCliIn(home, args);
    }
    test::TempDir home;
};

TEST(CliServiceCode, ComesFromTheFetchedManifest)
{
    test::HttpServer server;
    test::HttpRoute manifest;
    manifest.body = "<ravo><ravo_config><win><version><string>v1.35</string></version><cdata>" + encipher("RAVO") +
                    "</cdata></win></ravo_config></ravo>";
    server.route("/ravo_config.xml", manifest);
    const char kRefused[] = "Service code not accepted";

    CliWithUpdateUrl cli(server.url("/ravo_config.xml"));
    auto accepted = cli.run({"--service-code", " RAVO ", "firmware", "list"});
    EXPECT_EQ(accepted.exitCode, 0) << accepted.err;
    EXPECT_EQ(accepted.err.find(kRefused), std::string::npos) << accepted.err;
    EXPECT_EQ(server.requestCount(), 1);

    auto wrong = cli.run({"--service-code", "ravo", "firmware", "list"});
    EXPECT_NE(wrong.err.find(kRefused), std::string::npos);

    CliWithUpdateUrl missing(server.url("/nothing.xml"));
    auto noManifest = missing.run({"--service-code", "RAVO", "firmware", "list"});
    EXPECT_EQ(noManifest.err.find(kRefused), std::string::npos) << "nothing to refuse the code against";
    EXPECT_NE(noManifest.err.find("No update manifest could be read from " + server.url("/nothing.xml")),
              std::string::npos)
        << noManifest.err;

    // Without --service-code nothing is fetched.
    int before = server.requestCount();
    EXPECT_EQ(cli.run({"firmware", "list"}).exitCode, 0);
    EXPECT_EQ(server.requestCount(), before);
}

}  // namespace
}  // namespace ravo
