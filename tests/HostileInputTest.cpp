// Input that callers should not send and will: a value of 100 MB, bytes that are not UTF-8, NUL
// characters inside names and texts, and paths that are no regular files.
#include "TestSupport.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using zuxtest::Parse;
using zuxtest::Text;

// 100 MB of a pattern that does not repeat at any power of two, so that a lost or repeated
// block shows.
const std::string& HugeValue() {
    static const std::string value = [] {
        const std::string pattern = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ-_.";
        std::string text;
        text.reserve(100u << 20);
        while (text.size() + pattern.size() <= (100u << 20)) text += pattern;
        text.append(pattern, 0, (100u << 20) - text.size());
        return text;
    }();
    return value;
}

TEST(HostileInputTest, HundredMegabyteAttributeValue) {
    CZuXDocument document;
    ASSERT_FALSE(document.LoadFromString("<e big=\"" + HugeValue() + "\"/>").IsError());
    CZuXNode element(document.GetNode("e"));
    EXPECT_TRUE(element.AttributeAsString("big") == HugeValue());
    std::string value;
    CZuXAttribute(element.GetFirstAttribute()).GetText(value);
    EXPECT_EQ(HugeValue().size(), value.size());
    EXPECT_TRUE(value == HugeValue());

    ASSERT_FALSE(element.SetAttributeString("copy", value).IsError());
    value.clear();
    ASSERT_FALSE(element.GetAttributeAsString("copy", value).IsError());
    EXPECT_TRUE(value == HugeValue());

    zuxtest::TempDir dir;
    ASSERT_FALSE(document.SaveToFile(dir.File("big.xml")).IsError());
    const std::string frame = "<?xml version=\"1.0\"?>\n<e big=\"\" copy=\"\" />\n";
    EXPECT_EQ(frame.size() + 2 * HugeValue().size(), zuxtest::ReadFile(dir.File("big.xml")).size());
    CZuXDocument again;
    ASSERT_FALSE(again.LoadFromFile(dir.File("big.xml")).IsError());
    CZuXNode copy(again.GetNode("e"));
    EXPECT_TRUE(copy.AttributeAsString("big") == HugeValue());
    EXPECT_TRUE(copy.AttributeAsString("copy") == HugeValue());
}

TEST(HostileInputTest, HundredMegabyteText) {
    CZuXDocument document;
    CZuXNode element(document.AppendNode("e"));
    ASSERT_FALSE(element.SetText(HugeValue()).IsError());
    std::string saved;
    document.SaveAsString(saved, BZuXFormat(BZuXFormat::Raw | BZuXFormat::NoDeclaration));
    EXPECT_TRUE(saved == "<e>" + HugeValue() + "</e>");
    CZuXDocument again;
    ASSERT_FALSE(again.LoadFromString(saved).IsError());
    std::string text;
    CZuXNode(again.GetNode("e")).GetText(text);
    EXPECT_TRUE(text == HugeValue());
}

// Overlong forms, lone continuation bytes, a surrogate, a code point above U+10FFFF, bytes that
// never occur in UTF-8 and a sequence cut short.
const std::string kNotUtf8 = "\xC0\xAF"
                             "\x80"
                             "\xED\xA0\x80"
                             "\xF4\x90\x80\x80"
                             "\xFE\xFF"
                             "\xE2\x82";

TEST(HostileInputTest, BytesThatAreNotUtf8AreKeptAsTheyAre) {
    const std::string xml = "<r a=\"" + kNotUtf8 + "\">" + kNotUtf8 + "<e" + kNotUtf8 + "/></r>";
    auto document = Parse(xml);
    EXPECT_EQ(xml, Text(*document));
    CZuXNode root(document->GetNode("r"));
    EXPECT_EQ(kNotUtf8, root.AttributeAsString("a"));
    std::string text;
    root.GetText(text);
    EXPECT_EQ(kNotUtf8, text);
    EXPECT_TRUE(CZuXNode(root.GetNode(("e" + kNotUtf8).c_str())).Exists());

    // Written through the interface, and through a file whose encoding pugixml detects.
    ASSERT_FALSE(root.SetAttributeString("b", kNotUtf8 + "2").IsError());
    zuxtest::TempDir dir;
    ASSERT_FALSE(document->SaveToFile(dir.File("bytes.xml"), BZuXFormat(BZuXFormat::Raw)).IsError());
    CZuXDocument again;
    ASSERT_FALSE(again.LoadFromFile(dir.File("bytes.xml")).IsError());
    EXPECT_EQ(kNotUtf8 + "2", CZuXNode(again.GetNode("r")).AttributeAsString("b"));
    EXPECT_EQ(Text(*document), Text(again).substr(Text(again).find("<r")));
}

TEST(HostileInputTest, NulCharactersEndTextsQueriesAndIndentation) {
    const std::string nul("\0", 1);
    auto document = Parse("<r n=\"v\"><a/><a/></r>");
    CZuXNode root(document->GetNode("r"));

    ASSERT_FALSE(root.SetText("ab" + nul + "cd").IsError());
    std::string text;
    root.GetText(text);
    EXPECT_EQ("ab", text);
    ASSERT_FALSE(root.SetAttributeString("s", "x" + nul + "y").IsError());
    EXPECT_EQ("x", root.AttributeAsString("s"));
    EXPECT_EQ("d", root.AttributeAsString("missing", "d" + nul + "e"));
    CZuXAttribute attribute(root.GetFirstAttribute());
    ASSERT_FALSE(attribute.SetText("p" + nul + "q").IsError());
    EXPECT_EQ("p", attribute.AsString());

    CZuXPathNodeSetPtr nodes;
    ASSERT_FALSE(document->SelectNodes(nodes, "//a" + nul + "[[[").IsError());
    EXPECT_EQ(2u, nodes->Size());
    CZuXNodePrivatePtr found;
    ASSERT_FALSE(document->QueryPrivate(found, "r/a" + nul + "/none").IsError());
    EXPECT_EQ("a", CZuXNode(found).Name());

    zuxtest::TempDir dir;
    ASSERT_FALSE(document->SaveToFile(dir.File("cut.xml"), "\t" + nul + "x").IsError());
    EXPECT_EQ("<?xml version=\"1.0\"?>\n<r n=\"p\" s=\"x\">\n\t<a />\n\t<a />ab</r>\n",
              zuxtest::ReadFile(dir.File("cut.xml")));
}

TEST(HostileInputTest, NulCharactersInPathsAndNamesAreNeverCutAt) {
    const std::string nul("\0", 1);
    const std::string xml = "<r n=\"v\"><a/><a/></r>";
    auto document = Parse(xml);
    CZuXNode root(document->GetNode("r"));

    // The part before the NUL names an item that exists; the whole name names none.
    zuxtest::ExpectError(root.RemoveNode("a" + nul + "b"), 1168, "ZuXNode.cpp",
                         "CZuError CZuXNode::RemoveNode(const string&)", "NodeName=[a]");
    zuxtest::ExpectError(root.RemoveAttribute("n" + nul + "t"), 1168, "ZuXNode.cpp",
                         "CZuError CZuXNode::RemoveAttribute(const string&)", "AttributeName=[n]");
    zuxtest::ExpectError(document->RemoveNode("r" + nul + "x"), 1168, "ZuXDocument.cpp",
                         "CZuError CZuXDocument::RemoveNode(const string&)", "NodeName=[r]");
    EXPECT_EQ(xml, Text(*document));

    // Likewise for files: both exist under the name before the NUL.
    zuxtest::TempDir dir;
    const std::string victim = dir.File("victim.xml");
    zuxtest::WriteFile(victim, "<victim/>");
    zuxtest::ExpectSaveError(document->SaveToFile(victim + nul + ".new"),
                             "CZuError CZuXDocument::SaveToFile(const string&)", victim, "Invalid argument");
    EXPECT_EQ(774u, document->SaveToFile(victim + nul, "  ", BZuXFormat()).GetWin32Code());
    EXPECT_EQ("<victim/>", zuxtest::ReadFile(victim));

    const CZuError load = document->LoadFromFile(victim + nul + ".new");
    EXPECT_EQ(2u, load.GetWin32Code());
    ASSERT_EQ(2u, load.GetRecords().size()) << load.AsString();
    EXPECT_EQ("Description=[File was not found]", load.GetRecords()[0].GetMessage());
    EXPECT_EQ("FileName=[" + victim + "]", load.GetRecords()[1].GetMessage());
    EXPECT_EQ("", Text(*document)) << "as for any file that cannot be opened";
}

TEST(HostileInputTest, PathsThatAreNoRegularFiles) {
    zuxtest::TempDir dir;
    auto document = Parse("<r/>");

    // pugixml would take the directory's seek position as its size and fail for lack of memory.
    for (const std::string& directory : {dir.File(""), dir.File(".")}) {
        const CZuError error = document->LoadFromFile(directory);
        EXPECT_EQ(30u, error.GetWin32Code()) << error.AsString();
        ASSERT_EQ(2u, error.GetRecords().size());
        EXPECT_EQ("Error reading from file/stream, Offset=[0], Description=[Error reading from file/stream]",
                  error.GetRecords()[0].GetMessage());
        EXPECT_EQ("FileName=[" + directory + "]", error.GetRecords()[1].GetMessage());
        EXPECT_EQ("", Text(*document));
    }

    EXPECT_EQ(4306u, document->LoadFromFile("/dev/null").GetWin32Code()) << "empty: no element";
    zuxtest::WriteFile(dir.File("empty.xml"), "");
    EXPECT_EQ(4306u, document->LoadFromFile(dir.File("empty.xml")).GetWin32Code());
    EXPECT_EQ(2u, document->LoadFromFile("").GetWin32Code());

    ASSERT_FALSE(document->LoadFromString("<r/>").IsError());
    EXPECT_EQ(774u, document->SaveToFile(dir.File("")).GetWin32Code()) << "a directory";
    EXPECT_EQ(774u, document->SaveToFile("").GetWin32Code());
}

TEST(HostileInputTest, SavesToAFullDeviceFail) {
    // The small document fits the stdio buffer: the error shows only when the file is closed.
    auto small = Parse("<r/>");
    zuxtest::ExpectSaveError(small->SaveToFile("/dev/full"), "CZuError CZuXDocument::SaveToFile(const string&)",
                             "/dev/full", "No space left on device");
    auto large = Parse("<r>" + std::string(1 << 20, 'x') + "</r>");
    EXPECT_EQ(774u, large->SaveToFile("/dev/full", BZuXFormat(BZuXFormat::Raw)).GetWin32Code());
    EXPECT_EQ(774u, large->SaveToFile("/dev/full", "  ").GetWin32Code());
}

TEST(HostileInputTest, SavesToAReadOnlyPlaceFail) {
    // Tests may run as root, whom permission bits do not stop. sysfs refuses new files to
    // everybody (EACCES, or EROFS where it is mounted read-only).
    const std::string path = "/sys/zux-readonly-test.xml";
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int refusal = errno;
    if (fd >= 0) {
        close(fd);
        unlink(path.c_str());
        GTEST_SKIP() << path << " could be created: no place is read-only for this user";
    }
    if (errno == ENOENT) GTEST_SKIP() << "no sysfs here: no place known to be read-only for this user";

    auto document = Parse("<r/>");
    zuxtest::ExpectSaveError(document->SaveToFile(path), "CZuError CZuXDocument::SaveToFile(const string&)", path,
                             std::strerror(refusal));
    EXPECT_EQ(774u, document->SaveToFile(path, BZuXFormat(BZuXFormat::Raw)).GetWin32Code());
    struct stat status;
    EXPECT_NE(0, stat(path.c_str(), &status)) << "nothing was created";
}

} // namespace
