#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

using zuxtest::Parse;
using zuxtest::ReadFile;
using zuxtest::TempDir;

std::string Save(CZuXDocument& document) {
    std::string text = "previous content";
    EXPECT_FALSE(document.SaveAsString(text).IsError());
    return text;
}

std::string Save(CZuXDocument& document, unsigned int format) {
    std::string text = "previous content";
    EXPECT_FALSE(document.SaveAsString(text, BZuXFormat(format)).IsError());
    return text;
}

TEST(SaveTest, DefaultStringIsOneLineWithDefaultDeclaration) {
    auto document = Parse("<a><b/></a>");
    EXPECT_EQ("<?xml version=\"1.0\"?><a><b/></a>", Save(*document));
}

TEST(SaveTest, StringFormatBreaksLinesButNeverIndents) {
    auto document = Parse("<a><b><c/></b></a>");
    const std::string lines = "<?xml version=\"1.0\"?>\n<a>\n<b>\n<c />\n</b>\n</a>\n";
    EXPECT_EQ(lines, Save(*document, 0));
    EXPECT_EQ(lines, Save(*document, BZuXFormat::Indent));
    EXPECT_EQ("<a>\n<b>\n<c></c>\n</b>\n</a>\n",
              Save(*document, BZuXFormat::NoDeclaration | BZuXFormat::NoEmptyElementTags));
}

TEST(SaveTest, EmptyDocument) {
    CZuXDocument document;
    EXPECT_EQ("<?xml version=\"1.0\"?>", Save(document));
    EXPECT_EQ("<?xml version=\"1.0\"?>\n", Save(document, 0));
    EXPECT_EQ("", Save(document, BZuXFormat::NoDeclaration));
    EXPECT_EQ("", Save(document, BZuXFormat::Raw | BZuXFormat::NoDeclaration));
}

TEST(SaveTest, WriteBomStartsWithUtf8Mark) {
    auto document = Parse("<a/>");
    EXPECT_EQ("\xEF\xBB\xBF<a/>", Save(*document, BZuXFormat::WriteBom | BZuXFormat::Raw | BZuXFormat::NoDeclaration));
}

TEST(SaveTest, EscapesUnlessAskedNotTo) {
    auto document = Parse("<a v=\"&lt;&quot;\">x &amp; y</a>");
    EXPECT_EQ("<a v=\"&lt;&quot;\">x &amp; y</a>", Save(*document, BZuXFormat::Raw | BZuXFormat::NoDeclaration));
    EXPECT_EQ("<a v=\"<\"\">x & y</a>",
              Save(*document, BZuXFormat::Raw | BZuXFormat::NoDeclaration | BZuXFormat::NoEscapes));
}

TEST(SaveTest, FileIsIndentedWithOneTabAndLineFeeds) {
    TempDir dir;
    auto document = Parse("<a><b><c>t</c></b></a>");
    ASSERT_FALSE(document->SaveToFile(dir.File("out.xml")).IsError());
    EXPECT_EQ("<?xml version=\"1.0\"?>\n<a>\n\t<b>\n\t\t<c>t</c>\n\t</b>\n</a>\n", ReadFile(dir.File("out.xml")));

    ASSERT_FALSE(document->SaveToFile(dir.File("raw.xml"), BZuXFormat(BZuXFormat::Raw)).IsError());
    EXPECT_EQ("<?xml version=\"1.0\"?><a><b><c>t</c></b></a>", ReadFile(dir.File("raw.xml")));
}

TEST(SaveTest, FileWithCallersIndentation) {
    TempDir dir;
    auto document = Parse("<a><b/></a>");
    ASSERT_FALSE(document->SaveToFile(dir.File("two.xml"), std::string("  ")).IsError());
    EXPECT_EQ("<?xml version=\"1.0\"?>\n<a>\n  <b />\n</a>\n", ReadFile(dir.File("two.xml")));

    ASSERT_FALSE(
        document->SaveToFile(dir.File("attrs.xml"), std::string("-"), BZuXFormat(BZuXFormat::NoDeclaration)).IsError());
    EXPECT_EQ("<a>\n<b />\n</a>\n", ReadFile(dir.File("attrs.xml"))) << "Indent is not implied by a format";

    // The indentation ends at its first NUL character.
    ASSERT_FALSE(document->SaveToFile(dir.File("nul.xml"), std::string("x\0y", 3)).IsError());
    EXPECT_EQ("<?xml version=\"1.0\"?>\n<a>\nx<b />\n</a>\n", ReadFile(dir.File("nul.xml")));
}

TEST(SaveTest, DeclarationAndCommentsFromFileAreWrittenBack) {
    TempDir dir;
    CZuXDocument document;
    ASSERT_FALSE(document.LoadFromFile(zuxtest::DataDir() + "/declared.xml").IsError());
    ASSERT_FALSE(document.SaveToFile(dir.File("copy.xml")).IsError());
    EXPECT_EQ(ReadFile(zuxtest::DataDir() + "/declared.xml"), ReadFile(dir.File("copy.xml")));
}

TEST(SaveTest, EveryFileOverloadReportsItsFailure) {
    auto document = Parse("<a/>");
    const std::string before = zuxtest::Text(*document);
    const std::pair<std::string, std::string> kFailures[] = {{"/nonexistent-dir/out.xml", "No such file or directory"},
                                                             {"/dev/full", "No space left on device"}};
    for (const auto& [path, reason] : kFailures) {
        SCOPED_TRACE(path);
        const std::string f = "CZuError CZuXDocument::SaveToFile(const string&";
        zuxtest::ExpectSaveError(document->SaveToFile(path), (f + ")").c_str(), path, reason);
        zuxtest::ExpectSaveError(document->SaveToFile(path, BZuXFormat(0)), (f + ", BZuXFormat)").c_str(), path,
                                 reason);
        zuxtest::ExpectSaveError(document->SaveToFile(path, " "), (f + ", const string&)").c_str(), path, reason);
        zuxtest::ExpectSaveError(document->SaveToFile(path, " ", BZuXFormat(0)),
                                 (f + ", const string&, BZuXFormat)").c_str(), path, reason);
    }
    EXPECT_EQ(before, zuxtest::Text(*document));
}

// The four file overloads, each saving `document` to `path`.
std::vector<std::function<CZuError(CZuXDocument&, const std::string&)>> FileSaves() {
    return {
        [](CZuXDocument& d, const std::string& path) { return d.SaveToFile(path); },
        [](CZuXDocument& d, const std::string& path) { return d.SaveToFile(path, BZuXFormat(BZuXFormat::Raw)); },
        [](CZuXDocument& d, const std::string& path) { return d.SaveToFile(path, std::string("  ")); },
        [](CZuXDocument& d, const std::string& path) {
            return d.SaveToFile(path, std::string("  "), BZuXFormat(BZuXFormat::WriteBom));
        },
    };
}

std::size_t EntriesIn(const std::string& dir) {
    const fs::directory_iterator entries(dir);
    return static_cast<std::size_t>(std::distance(fs::begin(entries), fs::end(entries)));
}

mode_t ModeOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(0, stat(path.c_str(), &status));
    return status.st_mode & 07777;
}

TEST(SaveTest, SaveThatFailsHalfwayLeavesThePreviousFile) {
    TempDir dir;
    const std::string path = dir.File("keep.xml");
    const std::string previous = "<previous/>";
    zuxtest::WriteFile(path, previous);
    auto document = Parse("<big>" + std::string(100000, 'x') + "</big>");
    // Past the file-size limit a write fails (with SIGXFSZ ignored) part way through the save.
    const std::string outcome = zuxtest::RunInChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
        int failed = 0;
        for (const auto& save : FileSaves())
            failed += save(*document, path).GetRecords().back().GetMessage() == "Reason=[File too large]";
        return failed;
    });
    EXPECT_EQ("exit 4", outcome) << "every overload reports 774, and why";
    EXPECT_EQ(previous, ReadFile(path));
    EXPECT_EQ(1u, EntriesIn(dir.File(""))) << "no new file is left behind";

    // By default the signal ends the process during the save; the old file is still whole.
    const std::string ended = zuxtest::RunInChild([&] {
        const rlimit limit{4096, 4096};
        return setrlimit(RLIMIT_FSIZE, &limit) != 0 ? 2 : document->SaveToFile(path).GetWin32Code() == 774;
    });
    EXPECT_EQ("signal " + std::to_string(SIGXFSZ), ended);
    EXPECT_EQ(previous, ReadFile(path));
}

std::string AttributeOf(const std::string& path, const char* name) {
    std::string value(256, '\0');
    const ssize_t size = getxattr(path.c_str(), name, value.data(), value.size());
    return value.substr(0, size < 0 ? 0 : static_cast<std::size_t>(size));
}

// The group bits of a file with an ACL show its mask: a replacement given only the mode would let
// the owning group write (rw- instead of r--), and would lose user 4242's access.
TEST(SaveTest, ReplacedFileKeepsAclAndExtendedAttributes) {
    TempDir dir;
    const std::string path = dir.File("file.xml");
    zuxtest::WriteFile(path, "<old/>");
    // As the kernel stores it: version 2, then tag, permissions and id of each entry, little-endian:
    // user::rw-, user:4242:rw-, group::r--, mask::rw-, other::---.
    const std::string acl("\2\0\0\0\1\0\6\0\377\377\377\377\2\0\6\0\222\20\0\0\4\0\4\0\377\377\377\377"
                          "\20\0\6\0\377\377\377\377\40\0\0\0\377\377\377\377",
                          44);
    if (setxattr(path.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0 ||
        setxattr(path.c_str(), "user.zux", "kept", 4, 0) != 0)
        GTEST_SKIP() << "no ACLs or user attributes here: " << std::strerror(errno);
    ASSERT_EQ(0660, ModeOf(path));

    ASSERT_FALSE(Parse("<new/>")->SaveToFile(path).IsError());
    EXPECT_NE(std::string::npos, ReadFile(path).find("<new"));
    EXPECT_EQ(acl, AttributeOf(path, "system.posix_acl_access"));
    EXPECT_EQ("kept", AttributeOf(path, "user.zux"));
    EXPECT_EQ(0660, ModeOf(path));
}

// A descriptor keeps referring to its file: later output through it is not lost.
TEST(SaveTest, PathsNamingADescriptorAreWrittenInPlace) {
    TempDir dir;
    const std::string out = dir.File("out.txt");
    fs::create_symlink("/dev/stdout", dir.File("link"));
    for (const std::string& path :
         {std::string("/dev/stdout"), std::string("/dev/fd/1"), std::string("/proc/self/fd/1"), dir.File("link")}) {
        SCOPED_TRACE(path);
        zuxtest::WriteFile(out, "");
        const std::string outcome = zuxtest::RunInChild([&] {
            // As the shell redirects: `> out.txt` truncates once, then everything goes through fd 1.
            const int descriptor = open(out.c_str(), O_WRONLY | O_TRUNC);
            if (descriptor < 0 || dup2(descriptor, 1) < 0) return 2;
            std::fputs("before", stdout); // still in stdio's buffer when the save starts
            if (Parse("<r/>")->SaveToFile(path, BZuXFormat(BZuXFormat::Raw | BZuXFormat::NoDeclaration)).IsError())
                return 1;
            return write(1, "after", 5) == 5 ? 0 : 3;
        });
        EXPECT_EQ("exit 0", outcome);
        EXPECT_EQ("before<r/>after", ReadFile(out));
        EXPECT_EQ(2u, EntriesIn(dir.File("")));
    }
}

TEST(SaveTest, ReplacedFileKeepsModeAndLinks) {
    TempDir dir;
    auto document = Parse("<new/>");
    const std::string path = dir.File("file.xml");
    for (const auto& save : FileSaves()) {
        zuxtest::WriteFile(path, "<old/>");
        ASSERT_EQ(0, chmod(path.c_str(), 04751));
        fs::remove(dir.File("hard.xml"));
        fs::create_hard_link(path, dir.File("hard.xml"));
        fs::remove(dir.File("link.xml"));
        fs::create_symlink("file.xml", dir.File("link.xml"));

        ASSERT_FALSE(save(*document, dir.File("link.xml")).IsError());
        EXPECT_NE(std::string::npos, ReadFile(path).find("<new"));
        EXPECT_EQ(04751, ModeOf(path));
        EXPECT_TRUE(fs::is_symlink(dir.File("link.xml")));
        EXPECT_EQ("<old/>", ReadFile(dir.File("hard.xml"))) << "a hard link keeps the old file";
        EXPECT_EQ(3u, EntriesIn(dir.File("")));
    }

    // A new path, also behind a dangling link, gets 0666 less the umask, as fopen gives it.
    const mode_t umaskBefore = umask(027);
    fs::create_symlink("created.xml", dir.File("dangling.xml"));
    const bool saved = !document->SaveToFile(dir.File("dangling.xml")).IsError();
    umask(umaskBefore);
    ASSERT_TRUE(saved);
    EXPECT_TRUE(fs::is_symlink(dir.File("dangling.xml")));
    EXPECT_EQ(0640, ModeOf(dir.File("created.xml")));
}

TEST(SaveTest, DevicesAreWrittenDirectly) {
    for (const auto& save : FileSaves()) EXPECT_FALSE(save(*Parse("<a/>"), "/dev/null").IsError());
}

TEST(SaveTest, SavedTextLoadsIntoTheSameTree) {
    auto document = Parse("<r a=\"1 &amp; 2\"><x>t&lt;</x><![CDATA[c]]><y b=\"\"/>tail</r>");
    for (unsigned int format : {0u, 1u, 4u, 0x80u}) {
        std::string text;
        document->SaveAsString(text, BZuXFormat(format));
        auto again = Parse(text);
        EXPECT_EQ(zuxtest::Text(*document), zuxtest::Text(*again)) << "format " << format;
    }
}

TEST(SaveTest, CdataHoldingItsEndIsSavedAsTwoSections) {
    auto document = Parse("<r><![CDATA[x]]></r>");
    ASSERT_FALSE(CZuXNode(document->GetNode("r")).SetText("a]]>b").IsError());
    EXPECT_EQ("<r><![CDATA[a]]]]><![CDATA[>b]]></r>", zuxtest::Text(*document));
    auto again = Parse(zuxtest::Text(*document));
    EXPECT_EQ("a]]", zuxtest::TextOf(CZuXNode(again->GetNode("r"))));
}

TEST(SaveTest, StreamsAndSubtreesWriteWhatTheStringFormsWrite) {
    auto document = Parse("<r><a x=\"1\"><b/></a></r>");
    CZuXNode a(CZuXNode(document->GetNode("r")).GetNode("a"));
    std::string text;
    std::ostringstream stream;
    ASSERT_FALSE(document->SaveAsString(text, "  ", BZuXFormat::Indent).IsError());
    ASSERT_FALSE(document->SaveToStream(stream, "  ", BZuXFormat::Indent).IsError());
    EXPECT_EQ("<?xml version=\"1.0\"?>\n<r>\n  <a x=\"1\">\n    <b />\n  </a>\n</r>\n", text);
    EXPECT_EQ(text, stream.str());
    ASSERT_FALSE(a.SaveAsString(text, "", BZuXFormat::Raw).IsError());
    EXPECT_EQ("<a x=\"1\"><b/></a>", text);
    std::ofstream failing; // on no file: every write fails
    EXPECT_EQ(774u, a.SaveToStream(failing, "", BZuXFormat()).GetWin32Code());
    failing.clear();
    failing.exceptions(std::ios::badbit); // now the stream throws
    EXPECT_EQ(774u, document->SaveToStream(failing, "", BZuXFormat()).GetWin32Code());
}

} // namespace
