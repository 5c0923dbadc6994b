#include "app/WelcomeText.h"

#include "app/MakerSite.h"
#include "editor/RichTextBox.h"
#include "platform/Fonts.h"

#include <QLocale>
#include <QTextCursor>

void writeWelcomeText(RichTextBox& editor)
{
    const QStringList paragraphs{
        QStringLiteral("    欢迎使用 Tessaro 论文相似度检测工具，作者：Tessaro "
                       "开发者。请在此处输入或粘贴需要检测的论文句子，"
                       "先点击“分析”，再点击“对比”。程序会根据文本自动算出句子的数目，每点击一次“对比”，"
                       "就在网络上搜索下一句。"),
        QStringLiteral("    本工具基于百度网页搜索，检测的速度和质量取决于您的网络状况；检测结果仅供参考，"
                       "作者不对其承担任何责任。欢迎提出意见和建议，请访问项目主页：") +
            maker::kProjectPage,
        QStringLiteral("    您可以在此框中编辑文章，然后复制到 Word 中。用户还发现了它的其他用途，"
                       "例如批量搜索计算机考试题目的答案，更多用途等您去发现！"),
    };
    const QFont songTi(fonts::kSongTi, 10);
    editor.document()->setDefaultFont(songTi);
    editor.setLocale(QLocale(QLocale::Chinese, QLocale::China));
    QTextCursor c(editor.document());
    QTextCharFormat f;
    f.setFont(songTi);
    f.setForeground(Qt::black);
    for (int i = 0; i < paragraphs.size(); ++i) {
        if (i > 0)
            c.insertBlock();
        c.insertText(paragraphs[i], f);
    }
    editor.document()->clearUndoRedoStacks();
    editor.moveCaretToStart();
}
