#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// The chapters of an article, from its headings, for figures per chapter.
namespace sources {

struct Chapter
{
    QString title;       // the heading line as written
    qsizetype start = 0; // the heading's first character
    qsizetype end = 0;   // where the next chapter begins
    friend bool operator==(const Chapter&, const Chapter&) = default;
};

// Chapters begin at headings of the kinds theses use: 第N章 (Chinese or Arabic numbers), a number N or
// a number N.M whose N differs from the chapter before, 摘要 / Abstract, 结论 / 总结, 致谢, 参考文献, 附录.
// A heading is a short line without a sentence's closing punctuation. Text before the first heading
// (the title page) is a chapter of its own, titled by its first line, when it holds any text.
QList<Chapter> chapters(QStringView text);

} // namespace sources
