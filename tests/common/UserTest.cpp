#include "common/account/User.h"

#include <gtest/gtest.h>

TEST(UserTest, EngineCopyTakesThePortAfreshAndSyncFieldsOnlyWhenSet)
{
    User account;
    account.setUserName("ann");
    account.setPassword("pw");
    account.setPrivateKey("key");
    account.setRuvoServerIP("10.0.0.1");
    account.setMEncodedPassword("encpw");
    account.setMEncodedKey("enckey");
    account.setRuvoUser(true);
    account.setISDefaultKey(false);
    account.setPort("--port=1");
    account.setMSyncUserName("ann_sync");

    User controllerRecord;
    controllerRecord.setMSyncPassword("kept");
    controllerRecord.copyEngineFieldsFrom(account, "--port=2222");

    EXPECT_EQ(controllerRecord.UserName(), "ann");
    EXPECT_EQ(controllerRecord.Port(), "--port=2222");
    EXPECT_EQ(controllerRecord.mEncodedKey(), "enckey");
    EXPECT_TRUE(controllerRecord.isRuvoUser());
    EXPECT_EQ(controllerRecord.mSyncUserName(), "ann_sync");
    EXPECT_EQ(controllerRecord.mSyncPassword(), "kept");  // unset on the account: not copied over

    // The version list decides from this flag whether to pass the private key.
    User defaultKeyRecord;
    defaultKeyRecord.setISDefaultKey(true);
    defaultKeyRecord.copyEngineFieldsFrom(account, "--port=1");
    EXPECT_FALSE(defaultKeyRecord.isDefaultKey());
}
