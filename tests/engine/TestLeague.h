#pragma once

#include "league/Progress.h"
#include "store/PlayersTable.h"

#include <QTemporaryDir>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tavrel::testing {

// A working database in a temporary folder of its own, with Players and Team defined as import
// defines them and rows added through prepared statements.
class TestLeague {
public:
    TestLeague();

    std::filesystem::path folder() const;
    const std::filesystem::path& db() const { return db_; }

    void AddTeam(const Value& id, const Value& name);
    // Appends the row and returns its rowid.
    std::int64_t AddPlayer(const PlayerRow& row);
    Value Get(std::int64_t rowid, const std::string& column) const;
    std::int64_t Number(std::int64_t rowid, const std::string& column) const;
    void Exec(const std::string& sql) const;

private:
    QTemporaryDir dir_;
    std::filesystem::path db_;
};

// A player as import makes him from a record: Windows-1252 names padded with NULs (texts are
// given in UTF-8), every actual rating `actual`, every potential rating `potential`. PIDs count
// up from 1 across calls.
struct PlayerSpec {
    int team = 1;
    int position = 0;
    std::string lastName = "Smith";
    std::string firstName = "John";
    std::string college = "State";
    int actual = 50;
    int potential = 60;
    int years = 3;
    int age = 25;
    int height = 74;
    int weight = 210;
};
PlayerRow MakePlayer(const PlayerSpec& spec);

int Column(const std::string& name);

// Records everything a pass reports, one entry per call: "Begin:caption", "Set:value", "End".
class RecordingProgress : public Progress {
public:
    void Begin(const std::string& caption) override { calls.push_back("Begin:" + caption); }
    void SetValue(float value) override {
        values.push_back(value);
        calls.push_back("Set");
    }
    void End() override { calls.push_back("End"); }

    std::vector<std::string> calls;
    std::vector<float> values;
};

// The whole content of a file, as bytes.
std::string FileContent(const std::filesystem::path& file);

} // namespace tavrel::testing
