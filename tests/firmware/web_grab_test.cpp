#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "firmware/upgrade_check.h"
#include "firmware/web_grab.h"
#include "firmware/web_status.h"
#include "support/http_server.h"
#include "support/tcp_peer.h"

namespace ravo {
namespace {

using test::HttpRoute;
using test::HttpServer;

const char kManifest136[] =
    "<ravo><ravo_config><win><name>Ravo_Config</name>"
    "<file>https://updates.varnholm.example/Ravo_Config_136.exe</file><date>2026-11-02</date>"
    "<version><string>v1.36</string><major>1</major><minor>36</minor></version><cdata>7A1F</cdata>"
    "</win></ravo_config></ravo>";

HttpRoute replyWith(const std::string& body, int status = 200)
{
    HttpRoute route;
    route.body = body;
    route.status = status;
    return route;
}

HttpRoute redirectTo(const std::string& location)
{
    HttpRoute route;
    route.status = 302;
    route.location = location;
    return route;
}

TEST(WebStatusText, EveryEvent)
{
    struct Row {
        int event;
        bool reported;
        std::string text;
    };
    const Row rows[] = {
        {10, true, "Resolving name for updates.example"},
        {11, true, "Resolved name for updates.example"},
        {20, true, "Connecting to socket address "},
        {21, true, "Connected to socket address"},
        {30, true, "Sending request..."},
        {31, true, "Request sent"},
        {40, false, ""},
        {41, true, "Response received"},
        {50, true, "Closing the connection to the server"},
        {51, true, "Connection to the server closed"},
        {60, true, ""},
        {70, false, ""},
        {100, true, "Request complete"},
        {12, true, "Unknown status: 12"},
    };
    for (const Row& row : rows) {
        std::string text = "unchanged";
        const char* host = "updates.example";
        bool reported = webStatusText(row.event, host, 16, text);
        EXPECT_EQ(reported, row.reported) << row.event;
        if (row.reported) {
            EXPECT_EQ(text, row.text) << row.event;
        }
    }
    uint32_t words[2] = {0x1, 0xABCDEF};
    std::string text;
    ASSERT_TRUE(webStatusText(100, words, 8, text));
    EXPECT_EQ(text, "Request complete, dwResult = 00000001, dwError = 00ABCDEF");
}

TEST(WebReadText, RateFromTheSecondSecond)
{
    EXPECT_EQ(webReadText(2048, 2000), "Read 2048 bytes (1.0 Kb/s)");
    EXPECT_EQ(webReadText(2048, 400), "Read 2048 bytes");
    EXPECT_EQ(webReadText(2048, 499), "Read 2048 bytes");
    EXPECT_EQ(webReadText(2048, 500), "Read 2048 bytes (2.0 Kb/s)");  // rounded to one second
    EXPECT_EQ(webReadText(1536, 3400), "Read 1536 bytes (0.5 Kb/s)");
}

TEST(WebGrab, FetchesAManifestWithHeadersAndReports)
{
    HttpServer server;
    server.route("/ravo_config.xml", replyWith(kManifest136));
    CWebGrab grab;
    grab.connectTimeoutMs = 5000;
    grab.receiveTimeoutMs = 5000;
    std::vector<std::string> reports;
    std::string text = "old";
    ASSERT_TRUE(grab.GetFile(server.url("/ravo_config.xml"), text, "Get Server Info",
                             [&reports](const std::string& line) { reports.push_back(line); }));
    EXPECT_EQ(text, kManifest136);
    EXPECT_EQ(grab.statusCode, 200);
    EXPECT_NE(grab.responseHeaders.find("HTTP/1.1 200 OK\r\n"), std::string::npos);
    EXPECT_NE(grab.responseHeaders.find("Content-Type: text/xml"), std::string::npos);
    EXPECT_EQ(server.lastUserAgent(), "Get Server Info");
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), "");
    auto saw = [&reports](const std::string& line) {
        return std::find(reports.begin(), reports.end(), line) != reports.end();
    };
    EXPECT_TRUE(saw("Resolved name for 127.0.0.1"));
    EXPECT_TRUE(saw("Connecting to socket address "));
    EXPECT_TRUE(saw("Request sent"));
    EXPECT_TRUE(saw("Response received"));
    EXPECT_TRUE(saw("Read " + std::to_string(sizeof kManifest136 - 1) + " bytes"));
}

TEST(WebGrab, ErrorPageIsFetchedAndGivesNoNotice)
{
    HttpServer server;
    CWebGrab grab;
    std::string text;
    ASSERT_TRUE(grab.GetFile(server.url("/ravo_config.xml"), text, "Get Server Info"));
    EXPECT_EQ(grab.statusCode, 404);
    EXPECT_NE(text.find("404 Not Found"), std::string::npos);

    UpdateManifest manifest;
    int notices = 0;
    EXPECT_FALSE(UpgradeCheck(manifest, server.url("/ravo_config.xml"), [&notices](const std::string&) { ++notices; }));
    EXPECT_EQ(notices, 0);
    EXPECT_NE(manifest[UpdateManifest::kFetchedText].find("404"), std::string::npos);
}

TEST(UpgradeCheck, NewerManifestHandsOverTheDownloadLocation)
{
    HttpServer server;
    server.route("/ravo_config.xml", replyWith(kManifest136));
    UpdateManifest manifest;
    std::vector<std::string> notices;
    EXPECT_TRUE(UpgradeCheck(manifest, server.url("/ravo_config.xml"),
                             [&notices](const std::string& location) { notices.push_back(location); }));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "https://updates.varnholm.example/Ravo_Config_136.exe");
    EXPECT_EQ(manifest.encipheredCode(), "7A1F");

    std::string same = kManifest136;
    same.replace(same.find("v1.36"), 5, "v1.35");
    server.route("/same.xml", replyWith(same));
    notices.clear();
    EXPECT_FALSE(UpgradeCheck(manifest, server.url("/same.xml"),
                              [&notices](const std::string& location) { notices.push_back(location); }));
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(manifest.encipheredCode(), "7A1F");  // the code is kept for the service gate
}

TEST(UpgradeCheck, SilentServerGivesUpWithinAboutFiveSeconds)
{
    HttpServer server;
    HttpRoute silent;
    silent.kind = HttpRoute::kSilent;
    server.route("/ravo_config.xml", silent);
    UpdateManifest manifest;
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(UpgradeCheck(manifest, server.url("/ravo_config.xml"), [](const std::string&) { FAIL(); }));
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(server.requestCount(), 1);
    EXPECT_GE(seconds, 4.0);
    EXPECT_LE(seconds, 7.5);
}

TEST(WebGrab, EndlessChunkedReplyStopsAtOneMebibyte)
{
    HttpServer server;
    HttpRoute endless;
    endless.kind = HttpRoute::kEndlessChunked;
    server.route("/ravo_config.xml", endless);
    CWebGrab grab;
    std::vector<std::string> reports;
    std::string text;
    EXPECT_FALSE(grab.GetFile(server.url("/ravo_config.xml"), text, "Get Server Info",
                              [&reports](const std::string& line) { reports.push_back(line); }));
    EXPECT_LE(text.size(), kWebMaxBytes);
    EXPECT_GE(text.size(), kWebMaxBytes - 0x10000);
    EXPECT_EQ(reports.back(), "Reply larger than 1048576 bytes");
    EXPECT_EQ(grab.errorText, "Reply larger than 1048576 bytes");
}

TEST(WebGrab, DeclaredOversizeReplyIsRefused)
{
    HttpServer server;
    server.route("/big.xml", replyWith(std::string(kWebMaxBytes + 1, 'x')));
    server.route("/limit.xml", replyWith(std::string(kWebMaxBytes, 'x')));
    CWebGrab grab;
    std::string text;
    EXPECT_FALSE(grab.GetFile(server.url("/big.xml"), text, "Get Server Info"));
    EXPECT_LE(text.size(), kWebMaxBytes);
    EXPECT_TRUE(grab.GetFile(server.url("/limit.xml"), text, "Get Server Info"));
    EXPECT_EQ(text.size(), kWebMaxBytes);
}

TEST(WebGrab, FollowsAtMostFiveRedirectsToWebAddressesOnly)
{
    HttpServer server;
    server.route("/ravo_config.xml", replyWith(kManifest136));
    for (int i = 1; i <= 6; ++i)
        server.route("/r" + std::to_string(i), redirectTo(i == 1 ? "/ravo_config.xml" : "/r" + std::to_string(i - 1)));
    server.route("/to-file", redirectTo("file:///etc/passwd"));
    server.route("/to-ftp", redirectTo("ftp://127.0.0.1/ravo_config.xml"));

    CWebGrab grab;
    std::string text;
    ASSERT_TRUE(grab.GetFile(server.url("/r5"), text, "Get Server Info"));
    EXPECT_EQ(text, kManifest136);
    EXPECT_EQ(grab.statusCode, 200);
    EXPECT_EQ(grab.responseHeaders.find("Location"), std::string::npos);  // the last response's headers

    EXPECT_FALSE(grab.GetFile(server.url("/r6"), text, "Get Server Info"));
    EXPECT_FALSE(grab.GetFile(server.url("/to-file"), text, "Get Server Info"));
    EXPECT_EQ(text.find("root:"), std::string::npos);
    EXPECT_FALSE(grab.GetFile(server.url("/to-ftp"), text, "Get Server Info"));
}

TEST(WebGrab, RefusesOtherSchemesAndDeadPorts)
{
    CWebGrab grab;
    std::string text;
    EXPECT_FALSE(grab.GetFile("file:///etc/passwd", text, "Get Server Info"));
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(grab.GetFile("ftp://127.0.0.1/x", text, "Get Server Info"));
    EXPECT_FALSE(grab.GetFile("not a url", text, "Get Server Info"));
    EXPECT_FALSE(grab.GetFile("http://127.0.0.1:" + std::to_string(test::unusedPort()) + "/x", text, "Get Server Info"));
    EXPECT_EQ(grab.statusCode, 0);
}

// The receive time-out counts from the last byte: a server that trickles
// more slowly than the limit in total, but never pauses that long, is read to
// the end; one that falls silent ends the fetch one time-out after its last byte.
TEST(WebGrab, ReceiveTimeOutIsTimeWithoutAByte)
{
    HttpServer server;
    HttpRoute trickle;
    trickle.kind = HttpRoute::kTrickle;
    trickle.body = "0123456789";
    trickle.gapMs = 100;
    server.route("/trickle.xml", trickle);
    HttpRoute silent;
    silent.kind = HttpRoute::kSilent;
    server.route("/silent.xml", silent);

    CWebGrab grab;
    grab.connectTimeoutMs = 5000;
    grab.receiveTimeoutMs = 400;
    std::string text;
    ASSERT_TRUE(grab.GetFile(server.url("/trickle.xml"), text, "Get Server Info")) << grab.failureText;
    EXPECT_EQ(text, "0123456789");
    EXPECT_EQ(grab.failure, WebFailure::kNone);

    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(grab.GetFile(server.url("/silent.xml"), text, "Get Server Info"));
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(grab.failure, WebFailure::kTimeout);
    EXPECT_NE(grab.failureText.find("No data from the server for 400 ms"), std::string::npos) << grab.failureText;
    EXPECT_GE(seconds, 0.35);
    EXPECT_LT(seconds, 0.95) << "a second-grained speed rule would wait a whole second";
}

// Every way a fetch fails reaches the caller as a kind and a text.
TEST(WebGrab, TheReasonForAFailureReachesTheCaller)
{
    HttpServer server;
    server.route("/big.xml", replyWith(std::string(kWebMaxBytes + 1, 'x')));
    for (int i = 1; i <= 6; ++i)
        server.route("/r" + std::to_string(i), redirectTo(i == 1 ? "/big.xml" : "/r" + std::to_string(i - 1)));
    server.route("/to-ftp", redirectTo("ftp://127.0.0.1/ravo_config.xml"));
    struct Row {
        std::string url;
        WebFailure failure;
        std::string text;
    };
    const Row rows[] = {
        {"ftp://127.0.0.1/x", WebFailure::kRefusedScheme, "Only http and https addresses are fetched"},
        {server.url("/big.xml"), WebFailure::kTooLarge, "Reply larger than 1048576 bytes"},
        {server.url("/r6"), WebFailure::kRefusedRedirect, ""},
        {server.url("/to-ftp"), WebFailure::kRefusedRedirect, ""},
        {"http://127.0.0.1:" + std::to_string(test::unusedPort()) + "/x", WebFailure::kConnect, ""},
    };
    for (const Row& row : rows) {
        CWebGrab grab;
        std::string text;
        EXPECT_FALSE(grab.GetFile(row.url, text, "Get Server Info")) << row.url;
        EXPECT_EQ(grab.failure, row.failure) << row.url << ": " << grab.failureText;
        EXPECT_FALSE(grab.failureText.empty()) << row.url;
        EXPECT_NE(grab.failureText.find(row.text), std::string::npos) << grab.failureText;
    }

    UpdateManifest manifest;
    std::string reason;
    EXPECT_FALSE(FetchManifest(manifest, server.url("/missing.xml"), &reason));
    EXPECT_EQ(reason, "HTTP status 404");
    server.route("/plain.xml", replyWith("just text"));
    EXPECT_FALSE(FetchManifest(manifest, server.url("/plain.xml"), &reason));
    EXPECT_EQ(reason, "The reply is not an update manifest");
    HttpRoute silent;
    silent.kind = HttpRoute::kSilent;
    server.route("/silent.xml", silent);
    EXPECT_FALSE(FetchManifest(manifest, server.url("/silent.xml"), &reason, 200));
    EXPECT_NE(reason.find("No data from the server for 200 ms"), std::string::npos) << reason;
}

TEST(OpenWebLocation, OnlyWebAddressesReachTheOpenAction)
{
    struct Row {
        std::string location;
        bool opened;
    };
    const Row rows[] = {
        {"https://updates.varnholm.example/Ravo_Config_136.exe", true},
        {"http://varnholm.example/", true},
        {"HTTPS://VARNHOLM.EXAMPLE/x", true},
        {"", false},
        {"file:///C:/Windows/system32/calc.exe", false},
        {"javascript:alert(1)", false},
        {"JavaScript:alert(1)", false},
        {"ftp://varnholm.example/x", false},
        {"http://", false},
        {"http:///etc/passwd", false},
        {" https://varnholm.example/", false},
        {"https://varnholm.example/a b", false},
        {"https://varnholm.example/\n", false},
        {"C:\\setup.exe", false},
    };
    for (const Row& row : rows) {
        std::vector<std::string> opened;
        bool handed = OpenWebLocation(row.location, [&opened](const std::string& l) { opened.push_back(l); });
        EXPECT_EQ(handed, row.opened) << row.location;
        EXPECT_EQ(opened.size(), row.opened ? 1u : 0u) << row.location;
        if (row.opened) {
            EXPECT_EQ(opened[0], row.location);
        }
    }
}

}  // namespace
}  // namespace ravo
