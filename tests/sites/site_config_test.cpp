#include "sites/site_config.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

namespace mz {
namespace {

TEST(SiteConfig, MissingFileGivesDefaults) {
    SiteConfig config = SiteConfig::load("/nonexistent/dir/sites.ini");
    EXPECT_EQ(config, SiteConfig());
    EXPECT_EQ(config.biquge.rfind("https://", 0), 0u);
    EXPECT_EQ(config.qishu.rfind("http://", 0), 0u);
    EXPECT_EQ(config.speechAppId.size(), 40u);
}

TEST(SiteConfig, ReadsKeysIgnoringCaseAndKeepsDefaultsForTheRest) {
    SiteConfig config = SiteConfig::parse("; comment\r\n"
                                          "[Sites]\r\n"
                                          "  BIQUGE = http://127.0.0.1:8080/ \r\n"
                                          "e8siteid=abc\r\n"
                                          "unknown=1\r\n"
                                          "sogou=\r\n"
                                          "no equals sign\r\n"
                                          "[speech]\n"
                                          "appId=FFFF\n"
                                          "base=http://speech.test//\n");
    SiteConfig defaults;
    EXPECT_EQ(config.biquge, "http://127.0.0.1:8080") << "trailing / dropped, spaces trimmed";
    EXPECT_EQ(config.e8SiteId, "abc");
    EXPECT_EQ(config.sogou, defaults.sogou) << "an empty value keeps the default";
    EXPECT_EQ(config.xiashu, defaults.xiashu);
    EXPECT_EQ(config.speechAppId, "FFFF");
    EXPECT_EQ(config.speechBase, "http://speech.test");
}

TEST(SiteConfig, KeysBelongToTheirSection) {
    SiteConfig config = SiteConfig::parse("base=http://x\n[sites]\nappId=1\n[speech]\nbiquge=y\n");
    EXPECT_EQ(config, SiteConfig());
}

TEST(SiteConfig, SavedFileLoadsBack) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::filesystem::path path = dir.filePath("sites.ini").toStdString();
    SiteConfig config = SiteConfig::allAt("http://127.0.0.1:4567");
    config.e8SiteId = "sim";
    ASSERT_TRUE(config.save(path));
    SiteConfig loaded = SiteConfig::load(path);
    EXPECT_EQ(loaded, config);
    EXPECT_EQ(loaded.qishu, "http://127.0.0.1:4567");
    EXPECT_EQ(loaded.speechAppId, SiteConfig().speechAppId) << "allAt moves addresses only";
}

TEST(SiteConfig, SaveIntoMissingFolderFails) {
    EXPECT_FALSE(SiteConfig().save("/nonexistent/dir/sites.ini"));
}

} // namespace
} // namespace mz
