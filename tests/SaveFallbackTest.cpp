// Every way a save can go when a call fails: written in place where a direct write may still work,
// failed with the old file kept where a direct write would fail too, and never a new file left.
#include "ZuXFileReplacement.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/xattr.h>

namespace {

FileCall s_failingCall;
int s_error = 0;

int FailTheCall(FileCall call) {
    return call == s_failingCall ? s_error : 0;
}

TEST(SaveFallbackTest, FailedCallsWriteInPlaceOrKeepTheFile) {
    const struct {
        FileCall call;
        int error;
        bool inPlace;
    } kFailures[] = {
        {FileCall::CreateTemporary, EROFS, true},
        {FileCall::CreateTemporary, ENOENT, true},
        {FileCall::CreateTemporary, ENAMETOOLONG, true},
        {FileCall::CreateTemporary, EACCES, true},
        {FileCall::CreateTemporary, ENOSPC, false},
        {FileCall::CreateTemporary, EDQUOT, false},
        {FileCall::Chown, EPERM, true},
        {FileCall::Chown, EINVAL, true},
        {FileCall::SetAttribute, EPERM, true},
        {FileCall::Write, ENOSPC, false},
        {FileCall::Write, EDQUOT, false},
        {FileCall::Write, EIO, false},
        {FileCall::Sync, EIO, false},
        {FileCall::Rename, EPERM, true},
        {FileCall::Rename, EBUSY, true},
        {FileCall::Rename, EXDEV, true},
        {FileCall::Rename, EIO, false},
    };
    zuxtest::TempDir dir;
    const std::string path = dir.File("file.xml");
    auto document = zuxtest::Parse("<new/>");
    for (const auto& row : kFailures) {
        SCOPED_TRACE(std::to_string(static_cast<int>(row.call)) + " " + std::strerror(row.error));
        // A hard link shows whether the file was written in place or replaced.
        std::filesystem::remove(dir.File("link"));
        zuxtest::WriteFile(path, "<old/>");
        std::filesystem::create_hard_link(path, dir.File("link"));
        // An attribute to be set on the new file, unless the file system keeps none.
        if (setxattr(path.c_str(), "user.zux", "kept", 4, 0) != 0 && row.call == FileCall::SetAttribute) continue;
        s_failingCall = row.call;
        s_error = row.error;
        SetFileCallFailure(FailTheCall);
        const CZuError result = document->SaveToFile(path, BZuXFormat(BZuXFormat::Raw));
        SetFileCallFailure(nullptr);

        if (row.inPlace) {
            EXPECT_FALSE(result.IsError()) << result.AsString();
            EXPECT_EQ("<?xml version=\"1.0\"?><new/>", zuxtest::ReadFile(dir.File("link")));
        } else {
            zuxtest::ExpectSaveError(result, "CZuError CZuXDocument::SaveToFile(const string&, BZuXFormat)", path,
                                     std::strerror(row.error));
            EXPECT_EQ("<old/>", zuxtest::ReadFile(path));
        }
        const std::filesystem::directory_iterator entries(dir.File(""));
        EXPECT_EQ(2, std::distance(begin(entries), end(entries))) << "no new file is left behind";
    }
}

// What the new file holds when it is synced, read by the hook: the whole content must be in it
// then, before the rename makes it the file. A save written in place syncs nothing.
std::string s_directory;
std::string s_synced;

int ReadTheNewFile(FileCall call) {
    if (call == FileCall::Sync)
        for (const auto& entry : std::filesystem::directory_iterator(s_directory))
            if (entry.path().filename().string()[0] == '.') s_synced = zuxtest::ReadFile(entry.path());
    return 0;
}

TEST(SaveFallbackTest, TheNewFileIsWholeWhenSynced) {
    zuxtest::TempDir dir;
    s_directory = dir.File("");
    auto document = zuxtest::Parse("<new/>");
    // The longest name a directory entry holds but one: the new file's name is cut to fit.
    for (const std::string& name : {std::string("file.xml"), std::string(254, 'n')}) {
        SCOPED_TRACE(name.size());
        zuxtest::WriteFile(dir.File(name), "<old/>");
        s_synced.clear();
        SetFileCallFailure(ReadTheNewFile);
        const CZuError result = document->SaveToFile(dir.File(name), BZuXFormat(BZuXFormat::Raw));
        SetFileCallFailure(nullptr);
        EXPECT_FALSE(result.IsError()) << result.AsString();
        EXPECT_EQ("<?xml version=\"1.0\"?><new/>", s_synced);
        EXPECT_EQ(s_synced, zuxtest::ReadFile(dir.File(name)));
    }
}

} // namespace
