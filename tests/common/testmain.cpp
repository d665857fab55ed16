#include "testregistry.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTest>

#include <cstring>

namespace TestRegistry {

std::vector<Entry> &Entries()
{
    static std::vector<Entry> entries;
    return entries;
}

bool Add(const char *name, Factory factory)
{
    Entries().push_back({name, std::move(factory)});
    return true;
}

} // namespace TestRegistry

// Runs every registered test class. "-class Name" runs just one of them; every
// other argument goes to Qt Test unchanged (for example a test function name).
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // Tests never touch the user's real settings or files.
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setOrganizationName(QStringLiteral("Vantel"));
    QApplication::setApplicationName(QStringLiteral("VantelTests"));

    const char *only = nullptr;
    std::vector<char *> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "-class") == 0 && i + 1 < argc) {
            only = argv[++i];
            continue;
        }
        args.push_back(argv[i]);
    }

    int failures = 0;
    int ran = 0;
    for (const TestRegistry::Entry &entry : TestRegistry::Entries()) {
        if (only && std::strcmp(only, entry.name) != 0)
            continue;
        std::unique_ptr<QObject> test = entry.factory();
        failures += QTest::qExec(test.get(), int(args.size()), args.data());
        ++ran;
    }
    if (ran == 0) {
        qWarning("No test class ran");
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
