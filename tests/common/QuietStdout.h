#pragma once
// Holds back what a test prints on the standard output (the file reader's chatter) for the
// object's life, and shows it only when the test failed, since failure messages land there too.
// Captures do not nest: no other standard-output capture may run meanwhile.
#include <gtest/gtest.h>
#include <iostream>

class QuietStdout
{
public:
    QuietStdout() { testing::internal::CaptureStdout(); }
    ~QuietStdout()
    {
        const std::string printed = testing::internal::GetCapturedStdout();
        if (testing::Test::HasFailure())
            std::cout << printed;
    }
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;
};
