#include <gtest/gtest.h>

#include "net/HttpResponse.h"

TEST(HttpResponse, OnlyA2xxStatusDeliversTheResource)
{
    EXPECT_FALSE(IsSuccessStatus(199));
    EXPECT_TRUE(IsSuccessStatus(200));
    EXPECT_TRUE(IsSuccessStatus(206));
    EXPECT_TRUE(IsSuccessStatus(299));
    EXPECT_FALSE(IsSuccessStatus(302));
    EXPECT_FALSE(IsSuccessStatus(404));
    EXPECT_FALSE(IsSuccessStatus(0)) << "no status at all";
}

TEST(HttpResponse, FindsTheAnnouncedLengthAmongTheHeaders)
{
    EXPECT_EQ(ContentLengthOf(L"HTTP/1.1 200 OK\r\nServer: x\r\nContent-Length: 1234\r\nX: y\r\n\r\n"), 1234u);
    EXPECT_EQ(ContentLengthOf(L"content-LENGTH:\t5 \r\n"), 5u);
    EXPECT_EQ(ContentLengthOf(L"Content-Length: 18446744073709551615"), UINT64_MAX);
    EXPECT_FALSE(ContentLengthOf(L"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"));
    EXPECT_FALSE(ContentLengthOf(L"X-Content-Length: 5\r\n"));
    EXPECT_FALSE(ContentLengthOf(L""));
    // A value the transfer could not rely on counts as none.
    EXPECT_FALSE(ContentLengthOf(L"Content-Length: 18446744073709551616\r\n"));
    EXPECT_FALSE(ContentLengthOf(L"Content-Length: -1\r\n"));
    EXPECT_FALSE(ContentLengthOf(L"Content-Length: 12, 12\r\n"));
    EXPECT_FALSE(ContentLengthOf(L"Content-Length:\r\n"));
}
