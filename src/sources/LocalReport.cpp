#include "sources/LocalReport.h"

#include "text/TextRules.h"

namespace sources {

QString percentText(double ratio)
{
    return text::generalNumber(text::round2(ratio * 100)) + u'%';
}

QStringList figureLines(const CheckResult& r)
{
    return {QStringLiteral("总文字复制比：%1").arg(percentText(r.ratio)),
            QStringLiteral("去除引用文献复制比：%1").arg(percentText(r.ratioWithoutCited)),
            QStringLiteral("单篇最大文字复制比：%1").arg(percentText(r.largestSourceRatio)),
            QStringLiteral("重复字数：%1（其中引用 %2，文章共 %3 字）")
                .arg(r.copiedChars + r.citedChars)
                .arg(r.citedChars)
                .arg(r.articleChars)};
}

} // namespace sources
