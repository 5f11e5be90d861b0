#include "settings/EditableFile.h"

#include "fs/Files.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace tuji {
namespace {

// Edits in the middle of a file larger than one copy chunk move its tail
// both ways and leave the bytes before the offset alone.
TEST(EditableFile, ReplacesInTheMiddleOfALargeFile) {
    test::TempFolder dir;
    std::string path = dir.file("big.ini");
    std::string expected;
    for (int i = 0; i < 300000; ++i)
        expected += char('a' + (i * 7) % 26);
    ASSERT_TRUE(WriteFileBytes(path, expected));
    auto file = OpenLockedFile(path);
    ASSERT_TRUE(file);

    struct Step {
        size_t offset, oldLength;
        std::string bytes;
    };
    const std::vector<Step> steps = {
        {1000, 0, "inserted"}, {5000, 7, ""},
        {20, 3, "XYZ"},        {150000, 2, std::string(9, 'q')},
        {0, 0, "head"},        {expected.size() - 10, 0, "end"},
    };
    for (const Step& s : steps) {
        ASSERT_TRUE(file->Replace(s.offset, s.oldLength, s.bytes));
        expected.replace(s.offset, s.oldLength, s.bytes);
        ASSERT_EQ(ReadFileBytes(path), expected);
    }
    EXPECT_EQ(file->ReadAll(), expected);
    EXPECT_FALSE(file->Replace(expected.size(), 1, "x")); // past the end
}

} // namespace
} // namespace tuji
