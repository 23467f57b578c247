// Threads: pointers into one document are copied and released on many threads while its owner
// rewrites the bodies they point to; handles are made one thread at a time. Separate documents on
// separate threads. scripts/test.sh runs this under ThreadSanitizer as well.
#include "TestSupport.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace {

constexpr int kThreads = 8;

// Starts `work(index)` on kThreads threads at once and waits for them all.
template <class Work>
void OnThreads(Work work) {
    std::atomic<int> waiting{kThreads};
    std::vector<std::thread> threads;
    for (int index = 0; index < kThreads; ++index)
        threads.emplace_back([&waiting, &work, index] {
            --waiting;
            while (waiting.load() > 0) std::this_thread::yield();
            work(index);
        });
    for (std::thread& thread : threads) thread.join();
}

TEST(ThreadTest, HandlesOfOneDocumentAreCopiedAndReleasedOnManyThreads) {
    std::mutex use; // held while a thread uses the document
    auto document = std::make_unique<CZuXDocument>();
    ASSERT_FALSE(document->LoadFromString("<r><i n=\"0\" m=\"1\"/><i n=\"1\"/></r>").IsError());
    auto node = boost::make_shared<CZuXNode>(document->GetNode("r"));
    CZuXNodePrivatePtr body = node->GetPrivate(node);
    auto attribute = boost::make_shared<CZuXAttribute>(CZuXNode(node->GetNode("i")).GetFirstAttribute());
    CZuXPathNodeSetPtr set;
    ASSERT_FALSE(document->SelectNodes(set, "//i").IsError());
    boost::shared_ptr<CZuXPathNode> item = set->Node(1);

    // Each thread keeps what it made last; everything else it made it has released.
    std::vector<CZuXNodePrivatePtr> kept(kThreads);
    std::vector<boost::shared_ptr<CZuXAttribute>> keptAttributes(kThreads);
    std::atomic<int> started{0};
    std::thread owner([&] {
        // Meanwhile the owner removes through another handle, so that every read below brings
        // the shared bodies up to date, and moves one; then the originals go.
        while (started.load() < kThreads) std::this_thread::yield();
        for (int round = 0; round < 500; ++round) {
            const std::lock_guard<std::mutex> lock(use);
            CZuXNode other(document->GetNode("r"));
            CZuXNode(other.AppendNode("t")).SetAttributeINT("k", round);
            EXPECT_FALSE(other.RemoveNode(std::string("t")).IsError());
            EXPECT_FALSE(!node->Exists() || attribute->MoveNext().IsError() || attribute->MovePrevious().IsError());
            EXPECT_EQ("n", attribute->Name());
        }
        const std::lock_guard<std::mutex> lock(use);
        document.reset();
        node.reset();
        body.reset();
        attribute.reset();
        set.reset();
        item.reset();
    });
    {
        // The threads get their own pointers before the originals may go.
        const CZuXNodePtr nodeCopy = node;
        const CZuXNodePrivatePtr bodyCopy = body;
        const boost::shared_ptr<CZuXAttribute> attributeCopy = attribute;
        const CZuXPathNodeSetPtr setCopy = set;
        const boost::shared_ptr<CZuXPathNode> itemCopy = item;
        OnThreads([&, nodeCopy, bodyCopy, attributeCopy, setCopy, itemCopy](int index) {
            ++started;
            for (int round = 0; round < 2000; ++round) {
                const auto copies = std::make_tuple(nodeCopy, bodyCopy, attributeCopy, setCopy, itemCopy);
                if (round % 50 != 0) continue;
                const std::lock_guard<std::mutex> lock(use);
                const CZuXNode copied(*std::get<0>(copies)); // a new body: reads the shared one
                CZuXNode sharing(std::get<1>(copies));       // the same body
                kept[index] = std::get<4>(copies)->NodePrivate();
                keptAttributes[index] = boost::make_shared<CZuXAttribute>(*attributeCopy);
                EXPECT_EQ(copied.Name(), sharing.Name());
            }
        });
        owner.join();
    }
    EXPECT_FALSE(document || node || body || attribute || set || item);

    // Only the threads' last bodies hold the tree now; it is read here, on one thread.
    for (int index = 0; index < kThreads; ++index) {
        EXPECT_EQ("i", CZuXNode(kept[index]).Name());
        EXPECT_EQ("n", keptAttributes[index]->Name());
    }
    OnThreads([&](int index) { // the last of these frees the tree
        kept[index].reset();
        keptAttributes[index].reset();
    });
}

TEST(ThreadTest, SeparateDocumentsOnSeparateThreads) {
    OnThreads([](int index) {
        const std::string name = "t" + std::to_string(index);
        for (int round = 0; round < 100; ++round) {
            CZuXDocument document;
            ASSERT_FALSE(document.LoadFromString("<" + name + "><i/><i/></" + name + ">").IsError());
            CZuXNode root(document.GetNode(name.c_str()));
            CZuXNode added(root.AppendNode("v"));
            ASSERT_FALSE(added.SetAttributeDOUBLE("d", 2.25 + index).IsError());
            ASSERT_FALSE(added.SetAttributeTimeStampUnixTime("t", CTimeStamp::FromUnixTime(round + 1)).IsError());
            ASSERT_FALSE(added.SetText(name).IsError());

            CZuXPathNodeSetPtr items;
            ASSERT_FALSE(document.SelectNodes(items, "//i | //v[@d > 2]").IsError());
            EXPECT_EQ(3u, items->Size());
            CZuXNodePrivatePtr found;
            ASSERT_FALSE(document.QueryPrivate(found, name + "/i/../v").IsError());
            EXPECT_EQ(2.25 + index, CZuXNode(found).AttributeAsDOUBLE("d", 0));

            std::string text;
            document.SaveAsString(text);
            CZuXDocument again;
            ASSERT_FALSE(again.LoadFromString(text).IsError());
            EXPECT_EQ(zuxtest::Text(document), zuxtest::Text(again));
            CZuXNode copy(CZuXNode(again.GetNode(name.c_str())).GetNode("v"));
            EXPECT_EQ(round + 1, copy.AttributeAsTimeStampUnixTime("t").AsUnixTime());
            EXPECT_FALSE(root.RemoveNode(std::string("v")).IsError());
        }
    });
}

TEST(ThreadTest, OneCompiledQueryRunsOnManyThreadsAtOnce) {
    CZuXPathContext context;
    ASSERT_FALSE(context.SetVariable("least", 1).IsError());
    ASSERT_FALSE(context.BindNamespace("p", "urn:p").IsError());
    CZuXPathQuery query;
    ASSERT_FALSE(query.Compile("//p:i[@n >= $least]", context).IsError());
    std::vector<unsigned long> selected(kThreads);
    OnThreads([&](int index) {
        // A document of each thread's own, and a copy of the query or the query itself.
        CZuXDocument document;
        document.LoadFromString("<r xmlns='urn:p'><i n='" + std::to_string(index) + "'/><i n='1.5'/></r>");
        const CZuXPathQuery copy = query;
        CZuXPathNodeSetPtr set;
        if (!document.SelectNodes(set, index % 2 ? copy : query).IsError()) selected[index] = set->Size();
    });
    for (int index = 0; index < kThreads; ++index) EXPECT_EQ(index >= 1 ? 2u : 1u, selected[index]) << index;
}

} // namespace

namespace {

TEST(ThreadTest, BodiesMadeOnOneThreadAreReleasedOnOthers) {
    // Bodies keep their memory in per-thread lists: those made here are released on threads that
    // then end, and the blocks they took must neither leak nor be used twice.
    auto document = zuxtest::Parse("<r><i/><i/><i/></r>");
    CZuXNode root(document->GetNode("r"));
    for (int round = 0; round < 4; ++round) {
        std::vector<CZuXNodePrivatePtr> bodies;
        for (int i = 0; i < 3000; ++i) bodies.push_back(root.GetFirstNode());
        std::thread releaser([&bodies] {
            CZuXNodePrivatePtr kept = bodies.back(); // released last, after the others
            bodies.clear();
        });
        releaser.join();
        EXPECT_TRUE(bodies.empty());
        for (int i = 0; i < 3000; ++i) EXPECT_EQ("i", CZuXNode(root.GetFirstNode()).Name());
    }
}

} // namespace
