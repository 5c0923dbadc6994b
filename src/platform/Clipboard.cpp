#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

Clipboard::Handler& Clipboard::handler()
{
    static Handler h;
    return h;
}

void Clipboard::setHandler(Handler h)
{
    handler() = std::move(h);
}

bool Clipboard::setText(const QString& text)
{
    if (handler().setText)
        return handler().setText(text);
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(text);
    // Read back: when another program keeps the clipboard, what we put there is not what it holds.
    const QMimeData* held = clipboard->mimeData();
    return held && held->text() == text;
}

std::optional<QString> Clipboard::text()
{
    if (handler().text)
        return handler().text();
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return std::nullopt;
    // Qt reports no failed read: a clipboard that another program holds without answering reads as
    // empty, the same as one that holds no text (some platforms give no data at all then).
    const QMimeData* held = clipboard->mimeData();
    return held && held->hasText() ? held->text() : QString();
}
