#include "ui/pathtext.h"

#include <gtest/gtest.h>

namespace quillon::ui {
namespace {

TEST(PathText, FolderPartKeepsItsSeparator) {
    EXPECT_EQ(folderPart("/a/b/clip.flv"), "/a/b/");
    EXPECT_EQ(folderPart("/clip.flv"), "/");
    EXPECT_EQ(folderPart("clip.flv"), "");
    EXPECT_EQ(folderPart("/a/b/"), "/a/b/");
}

TEST(PathText, TrailingSeparatorIsAddedOnceAndRemovedExceptFromTheRoot) {
    EXPECT_EQ(withTrailingSeparator("/a/b"), "/a/b/");
    EXPECT_EQ(withTrailingSeparator("/a/b/"), "/a/b/");
    EXPECT_EQ(withTrailingSeparator("/"), "/");
    EXPECT_EQ(withoutTrailingSeparator("/a/b/"), "/a/b");
    EXPECT_EQ(withoutTrailingSeparator("/a/b"), "/a/b");
    EXPECT_EQ(withoutTrailingSeparator("/"), "/");
    EXPECT_EQ(withoutTrailingSeparator("[Same as input path]"), "[Same as input path]");
}

} // namespace
} // namespace quillon::ui
