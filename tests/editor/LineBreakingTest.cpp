#include "editor/LineBreaking.h"

#include <QString>

#include <gtest/gtest.h>

TEST(LineBreaking, LongestStretchWithoutABreak)
{
    EXPECT_EQ(editor::longestUnbrokenStretch(u"ab cde-fg/h"), 3);
    EXPECT_EQ(editor::longestUnbrokenStretch(u"中文ab中"), 2); // every Chinese character allows a break
    EXPECT_EQ(editor::longestUnbrokenStretch(u""), 0);
    EXPECT_FALSE(editor::wrapsAnywhere(QString(editor::kMaxUnbrokenStretch, u'a') + u' ' + QString(5, u'b')));
    EXPECT_TRUE(editor::wrapsAnywhere(QStringLiteral("x ") + QString(editor::kMaxUnbrokenStretch + 1, u'a')));
    EXPECT_FALSE(editor::wrapsAnywhere(QString(100000, u'中')));
}
