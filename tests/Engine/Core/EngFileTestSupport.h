#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "Engine/Core/EngDebug.h"
#include "Support/FilesForTests.h"
#include "Support/LogForTests.h"

// A test that works in its own fresh folder, removed afterwards.
class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = MakeTempFolder("torvi-core");
        ASSERT_FALSE(m_folder.empty());
    }
    void TearDown() override
    {
        std::string command = "rm -rf '" + m_folder + "'";
        ASSERT_EQ(system(command.c_str()), 0);
    }
    std::string Path(const char* name) const { return m_folder + "/" + name; }

    std::string m_folder;
};
