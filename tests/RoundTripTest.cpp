// Real documents: the shipped samples and the XML files of Debian's shared-mime-info and
// iso-codes packages. Each is loaded from its file, saved to a file and loaded again, and both
// trees serialise identically; the same through SaveAsString and LoadFromString, for what a load
// from a string keeps (no comments, no declaration).
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Document {
    std::string path;
    std::string name; // the test's name: the source and the file's name in CamelCase
};

// For GoogleTest, which otherwise prints the bytes of the object, padding included.
void PrintTo(const Document& document, std::ostream* out) {
    *out << document.path;
}

std::string CamelCase(const std::string& text) {
    std::string name;
    bool upper = true;
    for (char c : text) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            upper = true;
            continue;
        }
        name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        upper = false;
    }
    return name;
}

// The *.xml files of `dir`, in name order; none when it does not exist. Links (iso-codes has
// links under older names) and empty files (iso_3166-3.xml can be one) are left out.
std::vector<fs::path> XmlFiles(const fs::path& dir) {
    std::vector<fs::path> files;
    std::error_code ignored;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, ignored))
        if (entry.path().extension() == ".xml" && !entry.is_symlink() && entry.is_regular_file() &&
            entry.file_size() > 0)
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

const char* const kMimeDir = "/usr/share/mime/packages";
const char* const kIsoCodesDir = "/usr/share/xml/iso-codes";

std::vector<Document> Documents() {
    const fs::path data = zuxtest::DataDir();
    const std::pair<std::string, std::vector<fs::path>> sources[] = {
        {"Example", {data / "../../examples/sample.xml"}},
        {"Data", XmlFiles(data)},
        {"Mime", XmlFiles(kMimeDir)},
        {"IsoCodes", XmlFiles(kIsoCodesDir)},
    };
    std::vector<Document> documents;
    std::set<std::string> names;
    for (const auto& [source, files] : sources)
        for (const fs::path& file : files) {
            if (file.filename() == "mismatch.xml") continue; // malformed on purpose
            std::string name = source + CamelCase(file.stem().string());
            while (!names.insert(name).second) name += "Again"; // say, a-b.xml and a_b.xml
            documents.push_back({file.lexically_normal().string(), name});
        }
    return documents;
}

std::string Saved(CZuXDocument& document, unsigned int format) {
    std::string text;
    document.SaveAsString(text, BZuXFormat(format));
    return text;
}

class RoundTripTest : public ::testing::TestWithParam<Document> {
protected:
    void SetUp() override {
        const CZuError loaded = m_original.LoadFromFile(GetParam().path);
        ASSERT_FALSE(loaded.IsError()) << loaded.AsString();
    }

    CZuXDocument m_original;
};

TEST_P(RoundTripTest, ThroughAFile) {
    zuxtest::TempDir dir;
    ASSERT_FALSE(m_original.SaveToFile(dir.File("saved.xml")).IsError());
    CZuXDocument again;
    ASSERT_FALSE(again.LoadFromFile(dir.File("saved.xml")).IsError());
    for (unsigned int format : {BZuXFormat::Raw, BZuXFormat::Indent}) {
        const std::string original = Saved(m_original, format);
        EXPECT_TRUE(original == Saved(again, format)) << "format " << format;
        EXPECT_GT(original.size(), 40u);
    }
    ASSERT_FALSE(again.SaveToFile(dir.File("again.xml")).IsError());
    EXPECT_TRUE(zuxtest::ReadFile(dir.File("saved.xml")) == zuxtest::ReadFile(dir.File("again.xml")));
}

TEST_P(RoundTripTest, ThroughAString) {
    CZuXDocument fromString;
    ASSERT_FALSE(fromString.LoadFromString(Saved(m_original, BZuXFormat::Raw)).IsError());
    CZuXDocument again;
    ASSERT_FALSE(again.LoadFromString(Saved(fromString, BZuXFormat::Raw)).IsError());
    EXPECT_TRUE(Saved(fromString, BZuXFormat::Raw) == Saved(again, BZuXFormat::Raw));

    // What the string lost is exactly the comments and the declaration.
    CZuXPathNodeSetPtr comments;
    ASSERT_FALSE(m_original.SelectNodes(comments, "//comment()").IsError());
    for (unsigned long i = 0; i < comments->Size(); ++i)
        ASSERT_FALSE(CZuXNode(comments->Node(i)->NodePrivate()).RemoveFromParent().IsError());
    if (CZuXNode(m_original.GetNode("xml")).Exists()) {
        ASSERT_FALSE(m_original.RemoveNode(std::string("xml")).IsError());
    }
    for (unsigned int format : {BZuXFormat::Raw, BZuXFormat::Indent})
        EXPECT_TRUE(Saved(m_original, format) == Saved(fromString, format)) << "format " << format;
}

INSTANTIATE_TEST_SUITE_P(, RoundTripTest, ::testing::ValuesIn(Documents()),
                         [](const ::testing::TestParamInfo<Document>& info) { return info.param.name; });

TEST(RoundTripSourcesTest, DebianDocumentsArePresent) {
    const std::size_t found = XmlFiles(kMimeDir).size() + XmlFiles(kIsoCodesDir).size();
    if (found == 0) {
        const char* message = "shared-mime-info and iso-codes are not installed: their documents are not tried";
        if (std::getenv("ZUX_REQUIRE_SYSTEM_XML")) FAIL() << message;
        GTEST_SKIP() << message;
    }
    EXPECT_GE(found, 2u);
}

} // namespace
