// The slash-path lookup that QueryPrivate makes: for every path it must find the very node that
// pugixml's first_element_by_path finds, including the paths it follows itself instead of
// handing them to pugixml (those with ".." and those of many segments).
#include "ZuXSlashPath.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <random>
#include <string>

namespace {

const char* const kNames[] = {"a", "b", "c"};

// A random tree of elements named a, b and c, some with text, up to four levels and three
// children per element.
std::string RandomTree(std::mt19937& random, int depth = 0) {
    std::string xml;
    const int children = depth == 0 ? 1 : static_cast<int>(random() % 4);
    for (int i = 0; i < children; ++i) {
        const char* name = kNames[random() % 3];
        xml += std::string("<") + name + ">";
        if (random() % 4 == 0) xml += "t";
        if (depth < 4) xml += RandomTree(random, depth + 1);
        xml += std::string("</") + name + ">";
    }
    return xml;
}

// A random path of names, ".", ".." and doubled delimiters, sometimes absolute.
std::string RandomPath(std::mt19937& random) {
    static const char* const kSegments[] = {"a", "b", "c", "a", "b", "c", ".", "..", "..", "", "x"};
    std::string path = random() % 4 == 0 ? "/" : "";
    const int segments = static_cast<int>(random() % 10);
    for (int i = 0; i < segments; ++i) {
        if (i) path += "/";
        path += kSegments[random() % (sizeof kSegments / sizeof kSegments[0])];
    }
    if (random() % 8 == 0) path += "/";
    return path;
}

const std::string& ManySelfSteps() {
    static const std::string steps = [] {
        std::string dots;
        for (int i = 0; i < 300; ++i) dots += "./";
        return dots;
    }();
    return steps;
}

// The path of a node as child positions from the document, for readable failures.
std::string Where(pugi::xml_node node) {
    if (!node) return "no node";
    std::string where;
    for (; node.parent(); node = node.parent()) {
        int index = 0;
        for (pugi::xml_node sibling = node.previous_sibling(); sibling; sibling = sibling.previous_sibling()) ++index;
        where = "/" + std::to_string(index) + where;
    }
    return where.empty() ? "the document" : where;
}

TEST(SlashPathTest, FindsWhatPugixmlFinds) {
    std::mt19937 random(20241207);
    for (int tree = 0; tree < 300; ++tree) {
        pugi::xml_document document;
        const std::string xml = RandomTree(random);
        ASSERT_TRUE(document.load_string(xml.c_str()));
        for (int query = 0; query < 100; ++query) {
            std::string path = RandomPath(random);
            // 300 leading "." steps take the lookup past the length that pugixml is given directly.
            if (query % 3 == 0) path = ManySelfSteps() + path;
            const pugi::xml_node expected = document.first_element_by_path(path.c_str(), '/');
            const pugi::xml_node found = FirstElementByPath(document, path.c_str());
            ASSERT_EQ(expected, found) << "tree " << xml << "\npath " << path << "\npugixml: " << Where(expected)
                                       << "\nfound: " << Where(found);
        }
    }
}

TEST(SlashPathTest, NullStartFindsNothing) {
    EXPECT_FALSE(FirstElementByPath(pugi::xml_node(), "a/../a"));
    EXPECT_FALSE(FirstElementByPath(pugi::xml_node(), ""));
}

} // namespace
