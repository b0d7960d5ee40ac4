#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>
#include <gtest/gtest.h>

#include <memory>

namespace {

class QtTranslations : public ::testing::TestWithParam<const char*> {};

// The file chooser's title, as an example of Qt's own texts.
QString OpenTitle()
{
    return QCoreApplication::translate("QFileDialog", "Open");
}

TEST_P(QtTranslations, QtsOwnTextsFollowTheLanguage)
{
    const std::unique_ptr<QTranslator> translator(UseQtTranslations(QLocale(GetParam()), nullptr));
    ASSERT_NE(translator, nullptr) << "is qt6-translations-l10n installed?";
    EXPECT_NE(OpenTitle(), "Open");
}

INSTANTIATE_TEST_SUITE_P(EightLanguages, QtTranslations,
                         ::testing::Values("de_DE", "fr_FR", "it_IT", "es_ES", "pt_BR", "ja_JP", "zh_CN", "zh_TW"));

TEST(QtTranslationsEnglish, QtKeepsItsOwnEnglish)
{
    const std::unique_ptr<QTranslator> translator(UseQtTranslations(QLocale("en_US"), nullptr));
    EXPECT_EQ(OpenTitle(), "Open");
}

}  // namespace
