#pragma once

#include "comparator/Counts.h"

#include <QWidget>

#include <memory>

class DocumentCommands;
class MarkPainter;
class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class RichTextBox;

// The comparator: the article (RichTextBox1, a copy of the main editor's text) beside a reference
// text (RichTextBox2); "对比并标注" marks in the article every passage that also occurs in the
// reference. Deleted when closed; the totals it adds to belong to whoever opened it and outlive it.
class Form2 : public QWidget
{
    Q_OBJECT
public:
    Form2(const QString& articleText, comparator::Counts& totals, QWidget* parent = nullptr);
    ~Form2() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Command1: the comparison and marking.
    void compareAndMark();
    void createControls();
    void createMenu();
    void layoutControls();
    bool isEditingShortcut(const QKeyEvent& key) const;

    comparator::Counts& m_totals;
    bool m_running = false;
    bool m_closing = false;

    RichTextBox* m_article = nullptr;       // RichTextBox1
    RichTextBox* m_reference = nullptr;     // RichTextBox2
    QPushButton* m_compareButton = nullptr; // Command1
    QLabel* m_summary = nullptr;            // Label1
    QCheckBox* m_keepMarks = nullptr;       // Check1: marks of earlier comparisons stay
    QMenu* m_menu = nullptr;                // "yjcd"
    QAction* m_saveAction = nullptr;        // "baocun"
    QList<QAction*> m_editingActions;
    MarkPainter* m_painter = nullptr;
    std::unique_ptr<DocumentCommands>
        m_documents; // "保存" and "打开文章…", with this window's own last file name
    std::unique_ptr<DocumentCommands> m_referenceDocuments; // "打开参考文本…"
};
