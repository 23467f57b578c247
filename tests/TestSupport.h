// Helpers shared by the tests of the public interface.
#ifndef ZUX_TESTS_TESTSUPPORT_H
#define ZUX_TESTS_TESTSUPPORT_H

#include <ZuX/ZuX.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace zuxtest {

inline const std::string& DataDir() {
    static const std::string dir = ZUX_TEST_DATA_DIR;
    return dir;
}

/// A document loaded from `xml`; the test fails when it does not load.
inline std::unique_ptr<CZuXDocument> Parse(const std::string& xml) {
    std::unique_ptr<CZuXDocument> document(new CZuXDocument);
    const CZuError result = document->LoadFromString(xml);
    EXPECT_FALSE(result.IsError()) << result.AsString();
    return document;
}

/// System time of 1970-01-01 and ticks per second, written out here rather than taken from the
/// library, so that a wrong constant there shows.
constexpr long long kEpoch = 116444736000000000LL;
constexpr long long kTick = 10000000LL;

/// The text of a node or attribute handle, read with GetText, which must succeed.
template <class Handle>
std::string TextOf(Handle&& handle) {
    std::string text = "previous";
    EXPECT_FALSE(handle.GetText(text).IsError());
    return text;
}

/// The document as one line without declaration.
inline std::string Text(CZuXDocument& document) {
    std::string text;
    document.SaveAsString(text, BZuXFormat(BZuXFormat::Raw | BZuXFormat::NoDeclaration));
    return text;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

/// A scratch directory removed with everything in it at the end of the scope. When none can be
/// made, the test fails with an exception: there is then nothing to remove.
class TempDir {
public:
    TempDir() {
        char pattern[] = "/tmp/zux-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (!made) throw std::runtime_error(std::string("no scratch directory: ") + std::strerror(errno));
        m_path = made;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

/// Runs `work` in a child process, so that a crash ends only the child. Gives "exit N" with the
/// exit code `work` returned, or "signal N" when the child was killed.
template <class Work>
std::string RunInChild(Work&& work) {
    std::fflush(nullptr); // nothing buffered is written twice
    const pid_t child = fork();
    if (child == 0) std::_Exit(work());
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) return "no child";
    return WIFEXITED(status) ? "exit " + std::to_string(WEXITSTATUS(status))
                             : "signal " + std::to_string(WTERMSIG(status));
}

/// One record's function text and message.
inline void ExpectRecord(const CZuErrorRecord& record, const char* file, const char* function,
                         const std::string& message) {
    EXPECT_STREQ(file, record.GetLocation().GetFile());
    EXPECT_STREQ(function, record.GetLocation().GetFunction());
    EXPECT_GT(record.GetLocation().GetLine(), 0);
    EXPECT_EQ(message, record.GetMessage());
}

/// An error with the Win32 code and exactly one record.
inline void ExpectError(const CZuError& error, unsigned int win32, const char* file, const char* function,
                        const std::string& message) {
    EXPECT_TRUE(error.IsError());
    EXPECT_EQ(win32, error.GetWin32Code());
    ASSERT_EQ(1u, error.GetRecords().size()) << error.AsString();
    ExpectRecord(error.GetRecords()[0], file, function, message);
}

/// A failed save: 774 with its "FileName=[path]" record, then the system's reason for the failure.
inline void ExpectSaveError(const CZuError& error, const char* function, const std::string& path,
                            const std::string& reason) {
    EXPECT_EQ(774u, error.GetWin32Code());
    ASSERT_EQ(2u, error.GetRecords().size()) << error.AsString();
    ExpectRecord(error.GetRecords()[0], "ZuXDocument.cpp", function, "FileName=[" + path + "]");
    ExpectRecord(error.GetRecords()[1], "ZuXDocument.cpp", function, "Reason=[" + reason + "]");
}

} // namespace zuxtest

#endif
