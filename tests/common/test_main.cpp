// Test entry point: one QApplication for every test, offscreen when no
// platform is chosen (test discovery runs the binary without ctest's
// environment, and CI has no display).
#include "testutil.h"

#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

// On PostgreSQL without a server, every test is skipped with the reason
// (never passed without having run).
class ServeurDesTests : public ::testing::Environment
{
public:
    void SetUp() override
    {
        if (!TestUtil::SurPostgres())
            return;
        const QString absent = TestUtil::ServeurPostgresAbsent();
        if (!absent.isEmpty())
            GTEST_SKIP() << "PostgreSQL injoignable, tests sur PostgreSQL ignorés : " << absent.toStdString();
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Keep the registry store and bare INI names away from the user's files.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new ServeurDesTests);
    return RUN_ALL_TESTS();
}
