#include <gtest/gtest.h>
#include "platform/error_text.h"
TEST(Smoke, Reason) { EXPECT_NE(platform::SystemReason(5).find(L"5"), std::wstring::npos); }
