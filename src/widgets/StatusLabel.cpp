#include "widgets/StatusLabel.h"

#include "platform/Fonts.h"

#include <QFontMetrics>
#include <QLabel>

namespace statuslabel {

QLabel* make(QWidget* parent, const char* objectName, const QColor& color)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(objectName));
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, color);
    label->setPalette(p);
    label->setFont(QFont(fonts::kSongTi, 10.5));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

void fitLines(QLabel* label, int lines)
{
    const int needed = lines * QFontMetrics(label->font()).lineSpacing();
    if (label->height() < needed)
        label->resize(label->width(), needed);
}

} // namespace statuslabel
