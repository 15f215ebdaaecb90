#include "KPCore/inner/RedirectionTrust.h"

#include <gtest/gtest.h>

namespace {

struct Call {
    int policy = -1;
    DWORD flags = 0;
    SIZE_T length = 0;
    int count = 0;
};
Call g_call;
BOOL g_answer = TRUE;

BOOL WINAPI RecordPolicy(int policy, void* buffer, SIZE_T length)
{
    ++g_call.count;
    g_call.policy = policy;
    g_call.length = length;
    g_call.flags = *static_cast<const DWORD*>(buffer);
    return g_answer;
}

}  // namespace

// What Windows is asked for: the redirection-trust policy (16), enforced (bit 0 of a 32-bit
// flag word), in a buffer of exactly that size; anything else and Windows refuses or turns on
// something else.
TEST(RedirectionTrust, AsksForEnforcementOfPolicySixteenAndReportsTheAnswer)
{
    g_call = Call();
    g_answer = TRUE;
    EXPECT_TRUE(EnableRedirectionTrust(RecordPolicy));
    EXPECT_EQ(g_call.count, 1);
    EXPECT_EQ(g_call.policy, 16);
    EXPECT_EQ(g_call.flags, 1u);
    EXPECT_EQ(g_call.length, 4u);

    g_answer = FALSE;  // a Windows that does not know the policy
    EXPECT_FALSE(EnableRedirectionTrust(RecordPolicy));
    EXPECT_FALSE(EnableRedirectionTrust(nullptr));
}
