#pragma once

#include "app/Program.h"
#include "editor/RichTextBox.h"
#include "report/SiteTableCommand.h"
#include "search/CheckRun.h"
#include "support/FakeBrowser.h"
#include "support/GuiHelpers.h"
#include "support/ResultPage.h"
#include "widgets/Twips.h"
#include "widgets/WidgetTwips.h"

#include <QPushButton>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

// The main window, shown, with a fake result pane that the test answers and short waits.
class Form1Fixture : public ::testing::Test
{
protected:
    static constexpr std::chrono::milliseconds kTick{10};
    static constexpr std::chrono::milliseconds kReportWait{50};

    void SetUp() override { start(); }
    // One start of the program: a new main window over these options, with the fake pane and short
    // waits. Windows open where they first would, unless keepPlaces: then where the last start left them.
    void start(Program::Options options = {}, bool keepPlaces = false)
    {
        form.reset();
        if (!keepPlaces)
            QSettings().remove(QStringLiteral("windows"));
        auto fake = std::make_unique<FakeBrowser>();
        browser = fake.get();
        options.resultPane = std::move(fake);
        options.tickInterval = kTick;
        options.reportWait = kReportWait;
        form = Program::makeMainWindow(std::move(options));
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    template <typename T> T* w(const char* name) { return child<T>(form.get(), name); }
    void click(const char* button) { QTest::mouseClick(w<QPushButton>(button), Qt::LeftButton); }
    const search::CheckRun& run() { return form->checkRun(); }
    const search::CheckRecord& record() { return run().record(); }
    QString urlFor(int sentence) { return searchUrlFor(run().searchTexts()[sentence]); }
    const SiteTableCommand& stats() { return *form->findChild<SiteTableCommand*>(); }
    // The title the window's site table counts in slot k (ten per sentence).
    QString titleSlot(qsizetype k) { return record().titleSlots().texts.value(k); }
    RichTextBox* editor() { return w<RichTextBox>("RichTextBox1"); }
    void analyse(const QString& text)
    {
        editor()->setPlainText(text);
        click("Command1");
    }
    // The pixel size that a twips value becomes on this screen, for comparing geometry.
    int px(int twipsValue) const { return twips::toPixels(twipsValue, twips::logicalDpi(form.get())); }

    FakeBrowser* browser = nullptr;
    std::unique_ptr<Form1> form;
};
