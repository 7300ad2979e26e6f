// LHttp against a real HTTP server on 127.0.0.1 in the test process.
#include "http_test_server.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

#include "test_support.h"
#include "transfer/lhttp.h"

namespace {

struct Event {
    char kind;  // 'p' progress, 'f' finished
    int a;
    int b;
    bool operator==(const Event& o) const { return kind == o.kind && a == o.a && b == o.b; }
};

std::ostream& operator<<(std::ostream& os, const Event& e) {
    return os << e.kind << "(" << e.a << "," << e.b << ")";
}

class RecordingHttp : public LHttp {
public:
    void OnProgress(int received, int total) override { events.push_back({'p', received, total}); }
    void OnFinished(bool ok) override { events.push_back({'f', ok ? 1 : 0, 0}); }
    std::vector<Event> events;
};

std::string Narrow(const std::wstring& path) { return std::string(path.begin(), path.end()); }

std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

const std::string kTen = "0123456789";
const std::string kBig(1 << 20, 'x');

// One server for the whole suite: every way a package server can answer.
class Download : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server_ = new HttpTestServer;
        auto& s = server_->server();
        s.Get("/ten.7z", [](const httplib::Request&, httplib::Response& r) {
            r.set_content(kTen, "application/octet-stream");
        });
        s.Get("/big.7z", [](const httplib::Request&, httplib::Response& r) {
            r.set_content(kBig, "application/octet-stream");
        });
        s.Get("/missing.7z", [](const httplib::Request&, httplib::Response& r) {
            r.status = 404;
            r.set_content("not here", "text/plain");
        });
        s.Get("/chunked.7z", [](const httplib::Request&, httplib::Response& r) {
            r.set_chunked_content_provider("application/octet-stream",
                                           [](size_t offset, httplib::DataSink& sink) {
                                               if (offset < 30) {
                                                   sink.write(kTen.data(), kTen.size());
                                               } else {
                                                   sink.done();
                                               }
                                               return true;
                                           });
        });
        // The body stops at 50 of 100 announced bytes and the connection closes.
        s.Get("/short.7z", [](const httplib::Request&, httplib::Response& r) {
            r.set_content_provider(100, "application/octet-stream",
                                   [](size_t offset, size_t, httplib::DataSink& sink) {
                                       if (offset >= 50) return false;
                                       sink.write(std::string(50, 'y').data(), 50);
                                       return true;
                                   });
        });
        // A chunked body whose connection closes before the last chunk.
        s.Get("/chunked-cut.7z", [](const httplib::Request&, httplib::Response& r) {
            r.set_chunked_content_provider("application/octet-stream",
                                           [](size_t offset, httplib::DataSink& sink) {
                                               if (offset > 0) return false;
                                               sink.write(kTen.data(), kTen.size());
                                               return true;
                                           });
        });
        s.Get("/no-length.7z", [](const httplib::Request&, httplib::Response& r) {
            r.set_content("", "application/octet-stream");
        });
        server_->Start();
    }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }

    bool Fetch(const std::string& target, std::wstring* error) {
        http.port = server_->port();
        return http.Download("http://127.0.0.1" + target, Narrow(file), error);
    }

    static HttpTestServer* server_;
    TempDir dir;
    std::wstring file = dir / L"package.7z";
    RecordingHttp http;
};

HttpTestServer* Download::server_ = nullptr;

TEST_F(Download, CompleteBodyWithLength) {
    std::wstring error = L"untouched";
    EXPECT_TRUE(Fetch("/ten.7z?t=5", &error));
    EXPECT_EQ(error, L"untouched");
    EXPECT_EQ(ReadBytes(file), kTen);
    EXPECT_EQ(http.events, (std::vector<Event>{{'p', 0, 10}, {'p', 10, 10}, {'f', 1, 0}}));
}

TEST_F(Download, LargeBodyIsStreamedWithRunningCounts) {
    std::wstring error;
    ASSERT_TRUE(Fetch("/big.7z", &error)) << std::string(error.begin(), error.end());
    EXPECT_EQ(ReadBytes(file), kBig);
    ASSERT_GE(http.events.size(), 4u);
    EXPECT_EQ(http.events.front(), (Event{'p', 0, int(kBig.size())}));
    EXPECT_EQ(http.events.back(), (Event{'f', 1, 0}));
    EXPECT_EQ(http.events[http.events.size() - 2], (Event{'p', int(kBig.size()), int(kBig.size())}));
    for (size_t i = 1; i + 1 < http.events.size(); ++i) {
        EXPECT_GT(http.events[i].a, http.events[i - 1].a);
        EXPECT_EQ(http.events[i].b, int(kBig.size()));
    }
}

// Each outcome after the URL parsed: result, text, what the file holds, the notifications.
TEST_F(Download, Outcomes) {
    struct Case {
        std::string target;
        bool result;
        std::wstring error;
        std::string body;
        std::vector<Event> events;
    };
    const Case cases[] = {
        {"/missing.7z", false, L"http code:404", "not here", {{'p', 8, 0}, {'f', 0, 0}}},
        {"/chunked.7z", true, L"file size is zero", kTen + kTen + kTen,
         {{'p', 10, 0}, {'p', 20, 0}, {'p', 30, 0}, {'f', 1, 0}}},
        {"/no-length.7z", true, L"file size is zero", "", {{'p', 0, 0}, {'f', 1, 0}}},
        {"/short.7z", false, L"file size != recive size", std::string(50, 'y'),
         {{'p', 0, 100}, {'p', 50, 100}, {'f', 0, 0}}},
        {"/chunked-cut.7z", false, L"connection lost before end of body", kTen,
         {{'p', 10, 0}, {'f', 0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        http.events.clear();
        WriteFileBytes(file, "an older, longer download");
        std::wstring error;
        EXPECT_EQ(Fetch(c.target, &error), c.result);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(ReadBytes(file), c.body);
        EXPECT_EQ(http.events, c.events);
    }
}

TEST_F(Download, RefusedConnectionEmptiesTheFile) {
    WriteFileBytes(file, "an older download");
    http.port = 1;  // nothing listens there
    std::wstring error;
    EXPECT_FALSE(http.Download("http://127.0.0.1/x.7z?t=1", Narrow(file), &error));
    EXPECT_EQ(error, L"file size is zero");
    EXPECT_TRUE(Exists(file));
    EXPECT_EQ(ReadBytes(file), "");
    EXPECT_EQ(http.events, (std::vector<Event>{{'f', 0, 0}}));
}

TEST_F(Download, UnparsableUrlsTouchNothing) {
    for (const char* url : {"ftp://127.0.0.1/x.7z", "http://127.0.0.1", "https://h", "", "127.0.0.1/x"}) {
        SCOPED_TRACE(url);
        std::wstring error;
        EXPECT_FALSE(http.Download(url, Narrow(file), &error));
        EXPECT_EQ(error, L"parse url fail");
        EXPECT_FALSE(Exists(file));
        EXPECT_TRUE(http.events.empty());
    }
}

TEST_F(Download, FileThatCannotBeCreated) {
    std::wstring error;
    http.port = server_->port();
    EXPECT_FALSE(http.Download("http://127.0.0.1/ten.7z", Narrow(dir / L"no\\such\\dir.7z"), &error));
    EXPECT_EQ(error, L"open file fail");
    EXPECT_EQ(http.events, (std::vector<Event>{{'f', 0, 0}}));
}

// A full disk: the device that refuses every write.
TEST_F(Download, WriteFailureIsAFailure) {
    std::wstring error;
    http.port = server_->port();
    EXPECT_FALSE(http.Download("http://127.0.0.1/big.7z", "Z:\\dev\\full", &error));
    EXPECT_EQ(error, L"write file fail");
    ASSERT_FALSE(http.events.empty());
    EXPECT_EQ(http.events.front(), (Event{'p', 0, int(kBig.size())}));
    EXPECT_EQ(http.events.back(), (Event{'f', 0, 0}));
}

TEST(ParseUrl, SplitsHostAndPath) {
    struct Case {
        std::vector<std::pair<std::string, std::string>> params;
        const char* url;
        const char* host;
        const char* path;
        int port;
        bool secure;
    };
    const Case cases[] = {
        {{}, "HTTP://h/x.7z", "h", "/x.7z?", 80, false},
        {{}, "https://h/a?b=1", "h", "/a?b=1", 443, true},
        {{}, "http://h:8080/x", "h", "/x?", 8080, false},
        {{}, "https://127.0.0.1:8443/x", "127.0.0.1", "/x?", 8443, true},
        {{}, "http://[::1]:81/x", "[::1]", "/x?", 81, false},
        {{}, "http://[::1]/x", "[::1]", "/x?", 80, false},
        {{{"a", "1"}, {"b", "2"}}, "http://h/x", "h", "/x?a=1&b=2", 80, false},
        {{{"a", "1"}, {"b", "2"}}, "http://h/x?t=5", "h", "/x?t=5&a=1&b=2", 80, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        LHttp http;
        http.params = c.params;
        ASSERT_TRUE(http.ParseUrl(c.url));
        EXPECT_EQ(http.host, c.host);
        EXPECT_EQ(http.path, c.path);
        EXPECT_EQ(http.port, c.port);
        EXPECT_EQ(http.secure, c.secure);
    }
}

TEST(ParseUrl, RefusesOtherSchemesAndMissingPathWithoutChange) {
    LHttp http;
    for (const char* url : {"ftp://h/x", "http://h", "https://h", "http:/h/x", "http://h:/x",
                            "http://h:0/x", "http://h:65536/x", "http://h:8a/x", "http://h:123456/x"}) {
        EXPECT_FALSE(http.ParseUrl(url)) << url;
    }
    EXPECT_EQ(http.host, "");
    EXPECT_EQ(http.path, "");
    EXPECT_EQ(http.port, 80);
    EXPECT_FALSE(http.secure);
}

}  // namespace
