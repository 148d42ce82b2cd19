// The recent-files list and its place in the settings file.
#include "files/recent_files.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

using List = std::vector<std::string>;

struct AddCase {
    const char* name;
    List before;
    std::string path;
    List after;
};
void PrintTo(const AddCase& c, std::ostream* os) {
    *os << c.name;
}

TEST(RecentFiles, AFileGoesInFrontOnceAndTheListKeepsFive) {
    const AddCase cases[] = {
        {"first", {}, "/a.ign", {"/a.ign"}},
        {"newest first", {"/a.ign"}, "/b.ign", {"/b.ign", "/a.ign"}},
        {"again moves to the front", {"/b.ign", "/a.ign"}, "/a.ign", {"/a.ign", "/b.ign"}},
        {"the oldest goes", {"/1", "/2", "/3", "/4", "/5"}, "/6", {"/6", "/1", "/2", "/3", "/4"}},
        {"a known one does not push another out",
         {"/1", "/2", "/3", "/4", "/5"},
         "/5",
         {"/5", "/1", "/2", "/3", "/4"}},
        {"no name changes nothing", {"/a.ign"}, "", {"/a.ign"}},
    };
    for (const AddCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c));
        EXPECT_EQ(WithRecentFile(c.before, c.path), c.after);
    }
}

TEST(RecentFiles, TheListRoundTripsInItsOwnSection) {
    IniStore store;
    store.LoadText("[FORM_HLAV]\r\nLeft=10\r\n");
    SetRecentFiles(store, {});
    EXPECT_EQ(store.Text(), "[FORM_HLAV]\r\nLeft=10\r\n");  // nothing new without a file

    SetRecentFiles(store, {"/x/b.ign", "/x/a b.ign"});
    EXPECT_EQ(ReadRecentFiles(store), (List{"/x/b.ign", "/x/a b.ign"}));
    EXPECT_EQ(store.ReadString("FORM_HLAV", "Left", ""), "10");

    // A list that got shorter clears the places it no longer uses.
    SetRecentFiles(store, {});
    EXPECT_EQ(ReadRecentFiles(store), List{});
    EXPECT_EQ(store.ReadString(kRecentFilesSection, "File1"), std::optional<std::string>(""));
}

TEST(RecentFiles, AHandEditedSectionIsReadWithoutGapsOrRepeats) {
    IniStore store;
    store.LoadText(
        "[Recent_Files]\nFile2=/b.ign\nFile1=/a.ign\nFile3=\nFile4=/a.ign\n"
        "File5=/e.ign\nFile6=/f.ign\n");
    EXPECT_EQ(ReadRecentFiles(store), (List{"/a.ign", "/b.ign", "/e.ign"}));
}

}  // namespace
}  // namespace korvan
