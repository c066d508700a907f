#include "webservice/ServiceConfig.h"
#include "webservice/FormFields.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(FormFieldsTest, DecodesFieldsInOrder)
{
    const FormFields fields = parseFormFields("a=1&b=x%20y+z&c&=v&d=%C3%A9%3D%26&&e=1=2");
    const FormFields expected{{"a", "1"},  {"b", "x y z"}, {"c", ""}, {"", "v"}, {"d", QString::fromUtf8("é=&")},
                              {"e", "1=2"}};
    EXPECT_EQ(fields, expected);
    EXPECT_EQ(formValue(fields, "d"), QString::fromUtf8("é=&"));
    EXPECT_TRUE(formValue(fields, "missing").isNull());
}

TEST(ServiceConfigTest, ReadsAccountsAndFailureModes)
{
    QTemporaryDir folder;
    const QString path = folder.path() + "/config.json";
    QString error;
    EXPECT_FALSE(ServiceConfig::read(path, &error).has_value());
    EXPECT_TRUE(error.contains("config.json"));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"accounts": [{"username": "u", "password": "p", "enctype": "private", "pvtkey": "k"}],
                   "syncAccounts": [{"username": "s", "password": "q", "ruvosrvrip": "1.2.3.4"}],
                   "failures": {"/x": "slow"}, "slowReplyMs": 250})");
    file.close();
    const auto config = ServiceConfig::read(path, &error);
    ASSERT_TRUE(config.has_value()) << error.toStdString();
    ASSERT_NE(config->findAccount("u"), nullptr);
    EXPECT_EQ(config->findAccount("u")->pvtkey, "k");
    EXPECT_EQ(config->findAccount("nobody"), nullptr);
    EXPECT_EQ(config->findSyncAccount("s")->ruvosrvrip, "1.2.3.4");
    EXPECT_EQ(config->failureFor("/x"), "slow");
    EXPECT_TRUE(config->failureFor("/y").isEmpty());
    EXPECT_EQ(config->slowReply.count(), 250);

    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[not an object");
    file.close();
    EXPECT_FALSE(ServiceConfig::read(path, &error).has_value());
}
