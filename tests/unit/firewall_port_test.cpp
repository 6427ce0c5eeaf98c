#include <gtest/gtest.h>

#include "install/firewall_port.h"

using fbwb::firewallPort;

TEST(FirewallPort, WholeNumbersKeepTheirLow16Bits) {
    EXPECT_EQ(firewallPort("3051"), 3051);
    EXPECT_EQ(firewallPort("0"), 0);
    EXPECT_EQ(firewallPort("65535"), 65535);
    EXPECT_EQ(firewallPort("65536"), 0);
    EXPECT_EQ(firewallPort("68587"), 3051);
    EXPECT_EQ(firewallPort("2147483647"), 65535);
    EXPECT_EQ(firewallPort("-1"), 65535);
    EXPECT_EQ(firewallPort("-2147483648"), 0);
    EXPECT_EQ(firewallPort("0003051"), 3051);
}

TEST(FirewallPort, AnythingElseIsTheDefault) {
    for (const char* text : {"", "-", "+3051", " 3051", "3051 ", "3051abc", "30 51", "0x0BEB", "3051.0", "2147483648",
                             "-2147483649", "99999999999999999999", "３０５１"}) {
        EXPECT_EQ(firewallPort(text), 3050) << text;
    }
}
