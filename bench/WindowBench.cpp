// The main window's Open, from the answered file dialog to the first player painted, beside the
// core import alone on the same league; and the refill of the player list when the team changes.
// Runs on Qt's offscreen platform unless another is chosen.

#include "demo/DemoLeague.h"
#include "fileformat/FileBytes.h"
#include "fileformat/PlayerRecord.h"
#include "league/League.h"
#include "safety/SafeSave.h"
#include "ui/common/UserPrompts.h"
#include "ui/main/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kDemoPlayers = 1700;
constexpr int kFullPlayers = 32767;
constexpr int kDemoGeneratorLimit = 32000;

// Opens the league it was given and agrees to nothing else.
class AnsweredPrompts : public UserPrompts {
public:
    explicit AnsweredPrompts(QString leagueFile) : leagueFile_(std::move(leagueFile)) {}
    QString ChooseFileToOpen(QWidget*, const QString&, const QString&) override {
        return leagueFile_;
    }
    bool AskYesNo(QWidget*, const QString&) override { return false; }
    QString AskText(QWidget*, const QString&, const QString&) override { return {}; }
    void ShowMessage(QWidget*, const QString& text) override { failure_ = text.toStdString(); }
    const std::string& failure() const { return failure_; }

private:
    QString leagueFile_;
    std::string failure_;
};

// A demo league of `players` records. The generator stops at 32,000; the rest are copies of its
// first records under identifiers of their own (-1, -2, ...), so every PID stays unique.
tavrel::DemoLeagueFiles MakeLeague(const fs::path& dir, int players) {
    tavrel::DemoLeagueOptions options;
    options.players = std::min(players, kDemoGeneratorLimit);
    const tavrel::DemoLeagueFiles files = tavrel::WriteDemoLeague(dir, options);
    if (players > kDemoGeneratorLimit) {
        std::vector<std::uint8_t> bytes = tavrel::ReadFileBytes(files.playerFile, "Reading");
        for (int extra = 0; extra < players - kDemoGeneratorLimit; ++extra) {
            const std::size_t from = tavrel::kPlayerFileHeaderSize +
                                     tavrel::kPlayerRecordSize * static_cast<std::size_t>(extra);
            std::vector<std::uint8_t> record(
                bytes.begin() + static_cast<long>(from),
                bytes.begin() + static_cast<long>(from + tavrel::kPlayerRecordSize));
            const auto pid = static_cast<std::uint16_t>(static_cast<std::int16_t>(-1 - extra));
            record[0] = static_cast<std::uint8_t>(pid & 0xFF);
            record[1] = static_cast<std::uint8_t>(pid >> 8);
            bytes.insert(bytes.end(), record.begin(), record.end());
        }
        tavrel::SaveFileAtomically(
            files.playerFile,
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), "Writing");
    }
    return files;
}

fs::path Folder(const QTemporaryDir& dir, const char* name) {
    fs::path path = fs::path(dir.path().toStdString()) / name;
    fs::create_directories(path);
    return path;
}

// Notes when a line edit is first painted showing the text it waits for.
class FirstPaint : public QObject {
public:
    FirstPaint(QLineEdit* box, QString text) : box_(box), text_(std::move(text)) {
        box_->installEventFilter(this);
    }
    std::optional<std::chrono::steady_clock::time_point> at;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !at && box_->text() == text_)
            at = std::chrono::steady_clock::now();
        return QObject::eventFilter(watched, event);
    }

private:
    QLineEdit* box_;
    QString text_;
};

// From Open to the first player's name painted in the form. What runs after it (the league check)
// is left out: the user already sees the player.
void BM_OpenToFirstPlayerShown(benchmark::State& state) {
    QTemporaryDir dir;
    const auto league = MakeLeague(Folder(dir, "league"), static_cast<int>(state.range(0)));
    auto prompts =
        std::make_unique<AnsweredPrompts>(QString::fromStdString(league.leagueFile.string()));
    const AnsweredPrompts& answers = *prompts;
    frmMain window(Folder(dir, "work"), std::move(prompts));
    window.show();
    QAction* open = window.findChild<QAction*>("mnuFileItem_0");
    auto* players = window.findChild<QListWidget*>("lstPlayers");
    auto* lastName = window.findChild<QLineEdit*>("txtLastName");
    open->trigger(); // once untimed, for the name the form shows
    QApplication::processEvents();
    FirstPaint painted(lastName, lastName->text());
    for (auto _ : state) {
        lastName->clear(); // so that only the new Open paints the name again
        QApplication::processEvents();
        painted.at.reset();
        const auto start = std::chrono::steady_clock::now();
        open->trigger();
        while (!painted.at && answers.failure().empty())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (!answers.failure().empty() || players->currentRow() != 0) {
            state.SkipWithError(answers.failure().c_str());
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(*painted.at - start).count());
        QApplication::processEvents(); // the league check, outside the time
    }
    state.counters["players"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_OpenToFirstPlayerShown)
    ->Arg(kDemoPlayers)
    ->Arg(kFullPlayers)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

void BM_CoreImportAlone(benchmark::State& state) {
    QTemporaryDir dir;
    const auto league = MakeLeague(Folder(dir, "league"), static_cast<int>(state.range(0)));
    const fs::path workingDb = Folder(dir, "work") / "Tavrel.tmp";
    for (auto _ : state)
        benchmark::DoNotOptimize(
            tavrel::LoadLeague(league.playerFile, league.leagueFile, workingDb));
    state.counters["players"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_CoreImportAlone)
    ->Arg(kDemoPlayers)
    ->Arg(kFullPlayers)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Choosing another team in the combo: the list is filled from the working database again.
void BM_TeamChangeRefillsTheList(benchmark::State& state) {
    QTemporaryDir dir;
    const auto league = MakeLeague(Folder(dir, "league"), static_cast<int>(state.range(0)));
    frmMain window(Folder(dir, "work"), std::make_unique<AnsweredPrompts>(
                                            QString::fromStdString(league.leagueFile.string())));
    window.show();
    window.findChild<QAction*>("mnuFileItem_0")->trigger();
    auto* teams = window.findChild<QComboBox*>("cboTeam");
    auto* players = window.findChild<QListWidget*>("lstPlayers");
    int team = 0;
    for (auto _ : state) {
        team = (team + 1) % teams->count();
        teams->setCurrentIndex(team);
        emit teams->activated(team);
        QApplication::processEvents();
        benchmark::DoNotOptimize(players->count());
    }
    state.counters["players"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_TeamChangeRefillsTheList)
    ->Arg(kDemoPlayers)
    ->Arg(kFullPlayers)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Open remembers the league in the settings: keep that out of the user's own.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
