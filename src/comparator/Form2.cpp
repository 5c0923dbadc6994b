#include "comparator/Form2.h"

#include "comparator/MarkPainter.h"
#include "comparator/MarkingRun.h"
#include "comparator/ReferencePieces.h"
#include "comparator/Summary.h"
#include "editor/DocumentCommands.h"
#include "editor/EditCommands.h"
#include "editor/MarkColors.h"
#include "editor/RichTextBox.h"
#include "editor/TextOffsets.h"
#include "platform/Fonts.h"
#include "widgets/StatusLabel.h"
#include "widgets/WidgetTwips.h"
#include "widgets/WindowParts.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTextCursor>

#include <algorithm>
#include <cmath>

namespace {

// Client area as created, in twips.
constexpr int kClientWidth = 9300;
constexpr int kClientHeight = 7200;

// A size from the layout rule, which has no lower bound of its own: a window made smaller than its
// margins shows the controls at size (or place) zero instead of failing.
int clampedTwips(double value)
{
    return std::max(0, static_cast<int>(std::lround(value)));
}

} // namespace

Form2::Form2(const QString& articleText, comparator::Counts& totals, QWidget* parent)
    : QWidget(parent), m_totals(totals)
{
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Tessaro-对比器"));
    createControls();
    // Load: the main editor's text, without its colours. The copy counts as saved: the main window
    // still holds it.
    m_article->setPlainText(articleText);
    m_article->document()->clearUndoRedoStacks();
    m_article->moveCaretToStart();
    createMenu();

    windowparts::sizeAndCentre(this, kClientWidth, kClientHeight);
}

Form2::~Form2() = default;

void Form2::createControls()
{
    m_article = new RichTextBox(this);
    m_article->setObjectName(QStringLiteral("RichTextBox1"));
    m_article->document()->setDefaultFont(QFont(fonts::kSongTi, 10));
    twips::setGeometry(m_article, 90, 90, 4470, 6270);

    m_reference = new RichTextBox(this);
    m_reference->setObjectName(QStringLiteral("RichTextBox2"));
    twips::setGeometry(m_reference, 4680, 90, 4470, 6270);
    const QFont reference(fonts::kSongTi, 9);
    m_reference->document()->setDefaultFont(reference);
    QTextCharFormat f;
    f.setFont(reference);
    QTextCursor(m_reference->document()).insertText(QStringLiteral("对比的文字"), f);
    m_reference->document()->clearUndoRedoStacks();

    m_compareButton = new QPushButton(QStringLiteral("对比并标注"), this);
    m_compareButton->setObjectName(QStringLiteral("Command1"));
    twips::setGeometry(m_compareButton, 6435, 6705, 2670, 465);

    m_summary = statuslabel::make(this, "Label1", marks::kRed);
    twips::setGeometry(m_summary, 180, 6435, 6090, 645);
    statuslabel::fitLines(m_summary, 3); // the summary's three lines

    m_keepMarks = new QCheckBox(QStringLiteral("多次标注"), this);
    m_keepMarks->setObjectName(QStringLiteral("Check1"));
    twips::setGeometry(m_keepMarks, 7290, 6390, 1050, 240);

    setTabOrder(m_article, m_reference);
    setTabOrder(m_reference, m_compareButton);
    setTabOrder(m_compareButton, m_keepMarks);

    m_painter = new MarkPainter(*m_article->document(), this);
    connect(m_compareButton, &QPushButton::clicked, this, &Form2::compareAndMark);
}

void Form2::createMenu()
{
    m_menu = new QMenu(QStringLiteral("菜单"), this);
    m_menu->setObjectName(QStringLiteral("yjcd"));
    m_saveAction =
        windowparts::addItem(m_menu, "baocun", QStringLiteral("保存"), QKeySequence(Qt::CTRL | Qt::Key_S));
    m_documents = std::make_unique<DocumentCommands>(this, m_article);
    connect(m_saveAction, &QAction::triggered, this, [this] { m_documents->save(); });
    editor::EditActions edit;
    edit.undo =
        windowparts::addItem(m_menu, "cx", QStringLiteral("撤销"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    windowparts::addSeparator(m_menu, "jg1");
    edit.cut = windowparts::addItem(m_menu, "jq", QStringLiteral("剪切"), QKeySequence(Qt::CTRL | Qt::Key_X));
    edit.copy =
        windowparts::addItem(m_menu, "fz", QStringLiteral("复制"), QKeySequence(Qt::CTRL | Qt::Key_C));
    edit.paste =
        windowparts::addItem(m_menu, "nt", QStringLiteral("粘贴"), QKeySequence(Qt::CTRL | Qt::Key_V));
    edit.deleteSelection =
        windowparts::addItem(m_menu, "sc", QStringLiteral("删除"), QKeySequence(Qt::Key_Delete));
    windowparts::addSeparator(m_menu, "jg2");
    edit.selectAll =
        windowparts::addItem(m_menu, "qx", QStringLiteral("全选"), QKeySequence(Qt::CTRL | Qt::Key_A));

    // "保存" works anywhere in the window; the editing keys only while the article editor has the
    // focus, so that in RichTextBox2 the same keys keep their editor's own meaning.
    addAction(m_saveAction);
    m_editingActions = {edit.undo, edit.cut, edit.copy, edit.paste, edit.deleteSelection, edit.selectAll};
    for (QAction* a : m_editingActions) {
        a->setShortcutContext(Qt::WidgetShortcut);
        m_article->addAction(a);
    }
    m_article->installEventFilter(this);

    editor::connectCommands(edit, *m_article);
    editor::popUpOnRightClick(*m_article, *m_menu);

    // Either side from a file, read as the main window reads it; the reference is material only, so
    // replacing it asks nothing.
    windowparts::addSeparator(m_menu, "jg3");
    QAction* openArticle = windowparts::addItem(m_menu, "dakaiwenzhang", QStringLiteral("打开文章…"));
    QAction* openReference = windowparts::addItem(m_menu, "dakaicankao", QStringLiteral("打开参考文本…"));
    m_referenceDocuments = std::make_unique<DocumentCommands>(this, m_reference);
    m_referenceDocuments->setObjectName(QStringLiteral("referenceDocumentCommands"));
    m_referenceDocuments->setAsksAboutUnsaved(false);
    connect(openArticle, &QAction::triggered, this, [this] { m_documents->open(); });
    connect(openReference, &QAction::triggered, this, [this] { m_referenceDocuments->open(); });
    for (DocumentCommands* documents : {m_documents.get(), m_referenceDocuments.get()})
        connect(documents, &DocumentCommands::readingChanged, this, [this] {
            // No comparison of a text that is about to be replaced.
            m_compareButton->setEnabled(!m_documents->isReading() && !m_referenceDocuments->isReading());
        });
}

bool Form2::isEditingShortcut(const QKeyEvent& key) const
{
    const QKeySequence pressed(key.keyCombination());
    return std::any_of(m_editingActions.begin(), m_editingActions.end(),
                       [&](const QAction* a) { return a->shortcut() == pressed; });
}

bool Form2::eventFilter(QObject* watched, QEvent* event)
{
    // The editor claims its standard keys before shortcuts see them; hand ours to the menu's items.
    if (watched == m_article && event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isEditingShortcut(*key)) {
            // Del with nothing selected has no command to run: the editor deletes the next character.
            if (key->key() == Qt::Key_Delete && !m_article->textCursor().hasSelection())
                key->accept();
            else
                key->ignore();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form2::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutControls();
}

void Form2::layoutControls()
{
    const QSize outer = twips::outerSize(this);
    const double W = outer.width();
    const double H = outer.height();
    twips::setHeight(m_article, clampedTwips(H - 1600));
    twips::setWidth(m_article, clampedTwips(W / 2 - 300));
    twips::setLeft(m_reference, twips::width(m_article) + 300);
    twips::setHeight(m_reference, clampedTwips(H - 1600));
    twips::setWidth(m_reference, clampedTwips(W / 2 - 300));
    twips::setTop(m_summary, clampedTwips(H - 1400));
    twips::setTop(m_compareButton, clampedTwips(H - 1100));
    twips::setLeft(m_compareButton, clampedTwips(W - 3300));
    twips::setTop(m_keepMarks, clampedTwips(H - 1350));
    twips::setLeft(m_keepMarks, clampedTwips(W - 2500));
}

void Form2::closeEvent(QCloseEvent* event)
{
    m_closing = true; // a comparison that yields at this moment stops there
    QWidget::closeEvent(event);
}

void Form2::compareAndMark()
{
    // A second click while a run yields starts nothing.
    if (m_running)
        return;
    m_running = true;
    const QPointer<Form2> alive(this);

    const bool fresh = !m_keepMarks->isChecked();
    m_painter->begin(fresh);
    QString article = m_article->text();
    editor::OffsetMap offsets(article);
    comparator::MarkingRun run(comparator::cutReference(m_reference->text()), article, m_totals);

    while (!run.finished()) {
        QCoreApplication::processEvents();
        if (!alive || m_closing)
            return;
        if (m_painter->takeUserEdit()) {
            article = m_article->text();
            if (article != run.article()) {
                run.articleChanged(article);
                offsets = editor::OffsetMap(article);
            }
        }
        if (const std::optional<comparator::Mark> mark = run.step())
            m_painter->add({offsets.toDocument(mark->start), offsets.toDocument(mark->start + mark->length)});
        m_painter->applyIfDue();
    }
    m_painter->apply();

    // The selection ends on the last mark made; with none, on the whole article after a reset.
    if (const std::optional<MarkPainter::Range> last = m_painter->lastMark()) {
        const int end = m_article->document()->characterCount() - 1;
        QTextCursor c(m_article->document());
        c.setPosition(std::clamp(last->first, 0, end));
        c.setPosition(std::clamp(last->second, 0, end), QTextCursor::KeepAnchor);
        m_article->setTextCursor(c);
    } else if (fresh) {
        m_article->selectAll();
    }

    m_summary->setText(comparator::summaryText(m_article->text().size(), m_reference->text().size(),
                                               run.counts(), m_totals, m_keepMarks->isChecked()));
    m_running = false;
}
