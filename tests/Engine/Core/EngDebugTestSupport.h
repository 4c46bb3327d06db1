#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "Engine/Core/EngDebug.h"
#include "Support/FilesForTests.h"

// Sends the log of this test process to a file of its own, so parallel test processes never share one.
inline std::string PrivateLogName()
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string test = info ? info->name() : "none";
    std::replace(test.begin(), test.end(), '/', '-'); // parameterised tests are named "Test/Case"
    return ::testing::TempDir() + "torvi-log-" + test + "-" + std::to_string(getpid()) + ".txt";
}

inline std::vector<std::string> ReadLines(const std::string& file_name)
{
    std::vector<std::string> lines;
    std::ifstream in(file_name);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

inline void WriteWhole(const std::string& file_name, const std::string& text)
{
    std::ofstream out(file_name);
    out << text;
}

class PrivateLogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        log_name = PrivateLogName();
        std::remove(log_name.c_str());
        ASSERT_TRUE(DebugSetLogFilename(log_name.c_str(), true));
    }
    void TearDown() override { std::remove(log_name.c_str()); }

    std::string log_name;
};
