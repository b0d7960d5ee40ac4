#pragma once
// A test that reads texts of one of the program's own catalogues, written
// into a scratch folder as the program writes "en.txt".

#include "lang/LangText.h"
#include "platform/Resources.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

class TCatalogueTest : public testing::Test {
protected:
    void TearDown() override { g_sLangFile.clear(); }

    // Makes the catalogue `resource` ("Lang_Deutsch" ...) the one every lookup reads.
    void UseCatalogue(const std::string& resource)
    {
        g_sLangFile = Scratch / (resource + ".txt");
        SaveResourceToFile(resource, "FILE", g_sLangFile);
    }

    TScratchFolder Scratch;
};
