#include "TestRegistry.h"

#include "platform/StringLists.h"

#include <QLocale>
#include <QTest>

#include <cstring>
#include <vector>

#ifdef TOLVANE_TEST_GUI
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

namespace {

struct Entry
{
    const char *name;
    TestRegistry::Factory factory;
};

std::vector<Entry> &Entries()
{
    static std::vector<Entry> entries;
    return entries;
}

} // namespace

bool TestRegistry::Add(const char *name, Factory factory)
{
    Entries().push_back({name, std::move(factory)});
    return true;
}

// Runs every registered class, or only the one named by "-class Name".
int main(int argc, char *argv[])
{
    TestApplication app(argc, argv);
    // Orders must not depend on LANG: en_US, or TOLVANE_TEST_LOCALE (CTest also runs C).
    const QLocale pinned(qEnvironmentVariable("TOLVANE_TEST_LOCALE", QStringLiteral("en_US")));
    QLocale::setDefault(pinned);
    StringComparer::SetLocale(pinned);

    QStringList args = app.arguments();
    QString only;
    const qsizetype at = args.indexOf(QStringLiteral("-class"));
    if (at >= 0 && at + 1 < args.size()) {
        only = args.at(at + 1);
        args.remove(at, 2);
    }
    int failed = 0;
    for (const Entry &entry : Entries()) {
        if (!only.isEmpty() && only != QLatin1String(entry.name))
            continue;
        std::unique_ptr<QObject> test = entry.factory();
        failed += QTest::qExec(test.get(), args) != 0 ? 1 : 0;
    }
    return failed == 0 ? 0 : 1;
}
