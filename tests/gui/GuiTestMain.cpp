// The one program of the GUI tests: `tavrel_gui_tests ClassName [Qt Test options]` runs that
// class with the settings store pointed at a folder of its own.
#include "GuiTestSupport.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace guitest {

std::map<std::string, TestFactory>& Registry() {
    static std::map<std::string, TestFactory> tests;
    return tests;
}

bool RegisterTest(const char* name, TestFactory make) {
    return Registry().emplace(name, make).second;
}

} // namespace guitest

int main(int argc, char** argv) {
    const auto& tests = guitest::Registry();
    const auto test = argc > 1 ? tests.find(argv[1]) : tests.end();
    if (test == tests.end()) {
        std::fprintf(stderr, "usage: %s TEST-CLASS [Qt Test options]\nTest classes:\n", argv[0]);
        for (const auto& entry : tests)
            std::fprintf(stderr, "  %s\n", entry.first.c_str());
        return 2;
    }
    // The class name is ours, not Qt Test's.
    std::memmove(argv + 1, argv + 2, sizeof(char*) * std::size_t(argc - 1));
    --argc;
    QTemporaryDir settingsHome;
    qputenv("XDG_CONFIG_HOME", settingsHome.path().toUtf8());
    qputenv("XDG_DATA_HOME", settingsHome.path().toUtf8()); // the dated backups
    QApplication app(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsHome.path());
    const std::unique_ptr<QObject> object = test->second();
    return QTest::qExec(object.get(), argc, argv);
}
