// No text of any window is cut off, in any of the nine languages, from the
// moment the window is shown.
#include "app/MainFrm.h"
#include "dialogs/Captions.h"
#include "dialogs/OverWriteFrm.h"
#include "dialogs/PasswordFrm.h"
#include "dialogs/SetOutputFrm.h"
#include "extract/RunState.h"
#include "lang/LangText.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"
#include "ui_MainFrm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QScreen>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// A locale of each catalogue's language.
const char* const LOCALES[] = {"en_US.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8", "it_IT.UTF-8", "es_ES.UTF-8",
                               "pt_BR.UTF-8", "ja_JP.UTF-8", "zh_CN.UTF-8", "zh_TW.UTF-8"};

// Every label and button of `window` that is shown narrower or lower than its
// text needs, or reaches outside the window.
std::vector<std::string> CutTexts(QWidget& window)
{
    std::vector<std::string> cut;
    const QRect inside = window.rect();
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisible() || !(qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget)))
            continue;
        QSize need = widget->hasHeightForWidth()
                         ? QSize(widget->minimumSizeHint().width(), widget->heightForWidth(widget->width()))
                         : widget->sizeHint();
        // A push button's size hint includes a minimum width the style
        // likes; what matters is that its text fits where it is drawn.
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            QStyleOptionButton option;
            option.initFrom(button);
            const QRect drawn = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            const QString text = QString(button->text()).remove('&');
            need = QSize(button->width() - drawn.width() + button->fontMetrics().horizontalAdvance(text),
                         button->height() - drawn.height() + button->fontMetrics().height());
        }
        const QRect place(widget->mapTo(&window, QPoint(0, 0)), widget->size());
        if (widget->width() < need.width() || widget->height() < need.height() || !inside.contains(place))
            cut.push_back(widget->objectName().toStdString() + " " + std::to_string(widget->width()) + "x" +
                          std::to_string(widget->height()) + " needs " + std::to_string(need.width()) + "x" +
                          std::to_string(need.height()) + (inside.contains(place) ? "" : " outside"));
    }
    return cut;
}

class Layout : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        setenv("LC_ALL", GetParam(), 1);
        g_sWorkDir = Scratch.Path();
        Main.LoadLanguage();  // writes this language's catalogue as the program does
    }
    void TearDown() override
    {
        unsetenv("LC_ALL");
        g_sWorkDir.clear();
        g_sLangFile.clear();
    }

    TScratchFolder Scratch;
    TfrmSetOutput SetOutput;
    TfrmPassword Password;
    TfrmMain Main{&SetOutput, &Password};
};

TEST_P(Layout, DialogsFitTheirTextsWhenShown)
{
    const std::string existsFile = Scratch / "a rather long folder name/quarterly report.txt";
    ForceDirectories(ExtractFilePath(existsFile));
    WriteTextFile(existsFile, std::string(1234, 'x'));
    TfrmOverWrite overwrite;
    overwrite.ExistsFile = QString::fromStdString(existsFile);
    overwrite.NewFile = QString::fromStdString(Scratch / "missing.txt");

    for (QDialog* dialog : std::initializer_list<QDialog*>{&SetOutput, &Password, &overwrite}) {
        dialog->show();  // no events processed: the size must be right at once
        EXPECT_EQ(CutTexts(*dialog), std::vector<std::string>()) << dialog->objectName().toStdString();
        const QPoint offCentre =
            dialog->geometry().center() - QApplication::primaryScreen()->availableGeometry().center();
        EXPECT_LE(offCentre.manhattanLength(), 2) << dialog->objectName().toStdString() << " is centred";
        dialog->hide();
    }
}

TEST_P(Layout, MainWindowFitsItsTexts)
{
    auto* controls = Main.Controls();
    controls->lblFileName->setText(QString::fromStdString(LangText("02000105")));
    controls->lblPercent->setText("100%");
    controls->lblTotalSize->setText("1018.8 MB");
    controls->lblSpeed->setText("976.56 KB/s");
    controls->lblTime_Left->setText("100:00:00");
    controls->btnPause->setText(QString::fromStdString(LangText("02000C13")));
    Main.show();
    QApplication::processEvents();
    EXPECT_EQ(CutTexts(Main), std::vector<std::string>());
    Main.hide();
}

// A message box is as wide as its title bar needs, also after Qt has laid
// it out anew, for the shortest and the longest of the program's messages.
TEST_P(Layout, MessageBoxesShowTheirWholeTitle)
{
    for (const char* key : {"02000B10", "02000881", "02000C30", "02000B00"}) {
        const auto box = MakeMessage(nullptr, QString::fromStdString(LangText(key)), QMessageBox::Warning);
        EXPECT_EQ(box->windowTitle().toStdString(), LangText("01000000"));
        box->show();
        QApplication::processEvents();
        box->adjustSize();
        QApplication::processEvents();
        EXPECT_GE(box->width(), TitleBarWidth(box->windowTitle(), box->font())) << key;
        EXPECT_EQ(CutTexts(*box), std::vector<std::string>()) << key;
        box->hide();
    }
}

INSTANTIATE_TEST_SUITE_P(NineLanguages, Layout, ::testing::ValuesIn(LOCALES), [](const auto& info) {
    std::string name = info.param;
    return name.substr(0, name.find('.'));
});

}  // namespace
