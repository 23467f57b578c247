#include "MakeSharedNothrow.h"
#include "FailingAllocator.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

struct Throws {
    Throws() { throw std::runtime_error("constructor"); }
};

TEST(MakeSharedNothrowTest, BuildsLikeMakeShared) {
    const boost::shared_ptr<std::string> text = boost::make_shared_nothrow<std::string>(3, 'x');
    ASSERT_TRUE(text);
    EXPECT_EQ("xxx", *text);
    EXPECT_EQ(1, text.use_count());
}

TEST(MakeSharedNothrowTest, AllocationFailureGivesEmptyPointer) {
    boost::shared_ptr<std::string> text;
    {
        zuxtest::ScopedAllocationFailure fail(zuxtest::Allocator::OperatorNew);
        text = boost::make_shared_nothrow<std::string>("abc");
        EXPECT_EQ(1, fail.Refused());
    }
    EXPECT_FALSE(text);
}

TEST(MakeSharedNothrowTest, OtherExceptionsPassThrough) {
    EXPECT_THROW(boost::make_shared_nothrow<Throws>(), std::runtime_error);
}

} // namespace
