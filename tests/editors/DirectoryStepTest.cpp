// Spin buttons beside a Map or Preset number move to the neighbouring number the SP lists.
#include "editors/DirectoryStep.h"
#include "objects/ObjectDirectory.h"

#include <gtest/gtest.h>

TEST(DirectoryStep, MovesToTheNearestListedNumberWithinTheRange)
{
    ObjDir dir;
    for (int number : {2, 4, 9, 20, 31})
        dir.Entries.append({0, static_cast<int16_t>(number), QString()});
    const struct { int current, step, lowest, highest; std::optional<int> next; } cases[] = {
        {4, 1, 0, 127, 9},  {20, -1, 0, 127, 9}, {9, -1, 0, 127, 4},  {7, 1, 0, 127, 9},   {31, 1, 0, 127, {}},
        {2, -1, 0, 127, {}}, {9, 1, 0, 19, {}},  {9, -1, 3, 127, 4},  {4, -1, 3, 127, {}}, {77, -1, 0, 127, 31},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NextInDirectory(dir, c.current, c.step, c.lowest, c.highest), c.next)
            << c.current << " step " << c.step;
    EXPECT_EQ(NextInDirectory(ObjDir{}, 4, 1), std::nullopt);
}
