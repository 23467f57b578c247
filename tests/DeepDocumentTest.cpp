// Documents nested 200,000 levels deep, and slash paths of as many segments. pugixml frees a
// removed subtree and follows a slash path recursively, one stack frame per level or segment;
// every operation must still work, also on threads with small stacks.
#include "TestSupport.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <pthread.h>

#include <memory>
#include <string>

namespace {

constexpr int kDepth = 200000;

// kDepth elements <d>, one inside the other, with the text "bottom" in the innermost.
const std::string& DeepText() {
    static const std::string text = [] {
        std::string xml;
        xml.reserve(kDepth * 7 + 6);
        for (int i = 0; i < kDepth; ++i) xml += "<d>";
        xml += "bottom";
        for (int i = 0; i < kDepth; ++i) xml += "</d>";
        return xml;
    }();
    return text;
}

// How many elements the chain of first children below `node` holds.
int DepthBelow(CZuXNode node) {
    int depth = 0;
    for (CZuXNode child(node.GetFirstNode()); child.Exists() && !child.Name().empty();
         child = CZuXNode(child.GetFirstNode()))
        ++depth;
    return depth;
}

std::string Repeat(const std::string& part, int times) {
    std::string text;
    text.reserve(part.size() * times);
    for (int i = 0; i < times; ++i) text += part;
    return text;
}

// Runs `work` on a thread with a 256 KiB stack, as applications give their worker threads.
template <class Work>
void OnSmallStack(Work work) {
    pthread_attr_t attributes;
    ASSERT_EQ(0, pthread_attr_init(&attributes));
    ASSERT_EQ(0, pthread_attr_setstacksize(&attributes, 256 * 1024));
    pthread_t thread;
    const auto run = [](void* call) -> void* {
        (*static_cast<Work*>(call))();
        return nullptr;
    };
    ASSERT_EQ(0, pthread_create(&thread, &attributes, run, &work));
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}

class DeepDocumentTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(m_document.LoadFromString(DeepText()).IsError()); }

    CZuXNode Root() { return CZuXNode(m_document.GetNode("d")); }

    CZuXDocument m_document;
};

TEST_F(DeepDocumentTest, LoadsSavesAndLoadsAgain) {
    EXPECT_EQ(kDepth - 1, DepthBelow(Root()));
    EXPECT_EQ(DeepText(), zuxtest::Text(m_document));

    // Raw: indented, the text would grow with the square of the depth (some 40 GB here).
    zuxtest::TempDir dir;
    ASSERT_FALSE(m_document.SaveToFile(dir.File("deep.xml"), BZuXFormat(BZuXFormat::Raw)).IsError());
    CZuXDocument again;
    ASSERT_FALSE(again.LoadFromFile(dir.File("deep.xml")).IsError());
    std::string text;
    again.SaveAsString(text, BZuXFormat(BZuXFormat::Raw | BZuXFormat::NoDeclaration));
    EXPECT_EQ(DeepText(), text.substr(text.find("<d>"))) << "only the declaration is new";
}

TEST_F(DeepDocumentTest, CopiesIntoAnotherDocument) {
    CZuXDocument other;
    CZuXNode holder(other.AppendNode("holder"));
    ASSERT_FALSE(holder.AppendNodeCopy(boost::make_shared<CZuXNode>(Root())).IsError());
    EXPECT_EQ("<holder>" + DeepText() + "</holder>", zuxtest::Text(other));
    EXPECT_EQ(DeepText(), zuxtest::Text(m_document)) << "the source is unchanged";
}

TEST_F(DeepDocumentTest, XPathSelectsEveryLevel) {
    CZuXPathNodeSetPtr all;
    ASSERT_FALSE(m_document.SelectNodes(all, "//*").IsError());
    ASSERT_EQ(static_cast<unsigned long>(kDepth), all->Size());
    CZuXNode innermost(all->Node(kDepth - 1)->NodePrivate());
    std::string text;
    innermost.GetText(text);
    EXPECT_EQ("bottom", text);

    CZuXPathNodeSetPtr leaves;
    ASSERT_FALSE(m_document.SelectNodes(leaves, "//d[not(d)]").IsError());
    EXPECT_EQ(1u, leaves->Size());
}

TEST_F(DeepDocumentTest, SlashPathReachesTheBottom) {
    CZuXNodePrivatePtr found;
    ASSERT_FALSE(m_document.QueryPrivate(found, Repeat("d/", kDepth)).IsError());
    std::string text;
    CZuXNode(found).GetText(text);
    EXPECT_EQ("bottom", text);

    ASSERT_FALSE(m_document.QueryPrivate(found, Repeat("d/", kDepth) + "d").IsError());
    EXPECT_FALSE(CZuXNode(found).Exists()) << "one level too many";

    // Down and up again, twice over; then down once more.
    ASSERT_FALSE(m_document.QueryPrivate(found, Repeat("d/", kDepth) + Repeat("../", kDepth - 1) + "d").IsError());
    EXPECT_EQ(kDepth - 2, DepthBelow(CZuXNode(found))) << "the second level";
}

TEST(LongPathTest, SelfStepsNeedNoDeepTree) {
    auto document = zuxtest::Parse("<r><i/></r>");
    CZuXNodePrivatePtr found;
    ASSERT_FALSE(document->QueryPrivate(found, Repeat("./", 1000000) + "r/i").IsError());
    EXPECT_EQ("i", CZuXNode(found).Name());
    ASSERT_FALSE(document->QueryPrivate(found, "/" + Repeat("./", 1000000)).IsError());
    EXPECT_EQ("r", CZuXNode(CZuXNode(found).GetFirstNode()).Name()) << "the document node";
}

TEST(LongPathTest, ParentStepsAreNotRetriedForEverySibling) {
    // pugixml tries every i for every "i/..": 3^40 tries. The result is the same without them.
    auto document = zuxtest::Parse("<r><i/><i/><i><x/></i></r>");
    CZuXNodePrivatePtr found;
    ASSERT_FALSE(document->QueryPrivate(found, "r" + Repeat("/i/..", 40) + "/none").IsError());
    EXPECT_FALSE(CZuXNode(found).Exists());
    ASSERT_FALSE(document->QueryPrivate(found, "r" + Repeat("/i/..", 40) + "/i/x").IsError());
    EXPECT_EQ("x", CZuXNode(found).Name()) << "found below the third i";
    ASSERT_FALSE(document->QueryPrivate(found, Repeat("r/../", 100000) + "r/i/x").IsError());
    EXPECT_EQ("x", CZuXNode(found).Name());
}

TEST_F(DeepDocumentTest, EveryRemovalTakesADeepSubtree) {
    const std::string kept = "<keep/>";
    const auto load = [&](CZuXDocument& document) {
        ASSERT_FALSE(document.LoadFromString("<top>" + DeepText() + kept + "</top>").IsError());
    };
    const auto expectOnlyKept = [&](CZuXDocument& document) {
        EXPECT_EQ("<top>" + kept + "</top>", zuxtest::Text(document));
    };

    CZuXDocument document;
    load(document);
    CZuXNode top(document.GetNode("top"));
    EXPECT_FALSE(top.RemoveNode(std::string("d")).IsError());
    expectOnlyKept(document);

    load(document);
    top = CZuXNode(document.GetNode("top"));
    EXPECT_FALSE(top.RemoveNode(boost::make_shared<CZuXNode>(top.GetNode("d"))).IsError());
    expectOnlyKept(document);

    load(document);
    top = CZuXNode(document.GetNode("top"));
    EXPECT_FALSE(top.RemoveNode(top.GetNode("d")).IsError());
    expectOnlyKept(document);

    load(document);
    top = CZuXNode(document.GetNode("top"));
    EXPECT_FALSE(CZuXNode(top.GetNode("d")).RemoveFromParent().IsError());
    expectOnlyKept(document);

    // At document level, by name and by body.
    EXPECT_FALSE(m_document.RemoveNode(std::string("d")).IsError());
    EXPECT_EQ("", zuxtest::Text(m_document));
    ASSERT_FALSE(m_document.LoadFromString(DeepText()).IsError());
    EXPECT_FALSE(m_document.RemoveNode(m_document.GetNode("d")).IsError());
    EXPECT_EQ("", zuxtest::Text(m_document));
}

TEST_F(DeepDocumentTest, FailedRemovalsLeaveTheDeepTree) {
    CZuXNodePrivatePtr documentNode;
    ASSERT_FALSE(m_document.QueryPrivate(documentNode, "").IsError());
    EXPECT_EQ(1168u, CZuXNode(documentNode).RemoveFromParent().GetWin32Code()) << "the document node has no parent";

    CZuXNode root = Root();
    const CZuXNodePtr grandchild = boost::make_shared<CZuXNode>(CZuXNode(root.GetFirstNode()).GetFirstNode());
    EXPECT_EQ(1168u, root.RemoveNode(grandchild).GetWin32Code());

    CZuXDocument other;
    ASSERT_FALSE(other.LoadFromString("<d/>").IsError());
    CZuXNode otherRoot(other.GetNode("d"));
    EXPECT_EQ(1168u, otherRoot.RemoveNode(boost::make_shared<CZuXNode>(root.GetFirstNode())).GetWin32Code());

    EXPECT_EQ(kDepth - 1, DepthBelow(Root()));
    EXPECT_EQ(DeepText(), zuxtest::Text(m_document));
}

TEST_F(DeepDocumentTest, SmallThreadStacksSuffice) {
    OnSmallStack([this] {
        CZuXNodePrivatePtr found;
        EXPECT_FALSE(m_document.QueryPrivate(found, Repeat("d/", kDepth)).IsError());
        EXPECT_TRUE(CZuXNode(found).Exists());
        CZuXNode root = Root();
        EXPECT_FALSE(root.RemoveNode(std::string("d")).IsError());
        EXPECT_EQ("<d/>", zuxtest::Text(m_document));
    });
}

TEST_F(DeepDocumentTest, TreeOutlivesItsDocumentAndGoesWithItsLastHandle) {
    auto document = std::make_unique<CZuXDocument>();
    ASSERT_FALSE(document->LoadFromString(DeepText()).IsError());
    CZuXPathNodeSetPtr all;
    ASSERT_FALSE(document->SelectNodes(all, "//*").IsError());
    document.reset();
    CZuXNode innermost(all->Node(kDepth - 1)->NodePrivate());
    all.reset();
    std::string text;
    innermost.GetText(text);
    EXPECT_EQ("bottom", text);
    // The deep tree is freed when `innermost` goes; loading over one frees it as well.
    ASSERT_FALSE(m_document.LoadFromString("<small/>").IsError());
}

} // namespace
