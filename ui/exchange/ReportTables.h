#pragma once

#include "exchange/LeagueCheck.h"
#include "exchange/LeagueDiff.h"
#include "exchange/PlayerImport.h"
#include "store/TeamChoices.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

// What the exchange dialogs show, as plain tables: the changes an import would make, how two
// leagues differ, what the league check found. Columns go by the form's captions ("Actual Speed"),
// teams by name and number ("Bears (1)"), positions by their abbreviation.

struct ReportCell {
    QString text;
    bool highlighted = false; // a changed value
};

// Whom a row is about, so that a double-click can show him: a player of the open league by his
// row, one known by his PID alone, or one the open league does not have (`missing` says so).
// A row about no player has none of them.
struct ReportTarget {
    std::optional<std::int64_t> rowId;
    std::optional<int> pid;
    QString missing;

    bool IsPlayer() const { return rowId || pid || !missing.isEmpty(); }
};

struct ReportTable {
    QStringList headers;
    std::vector<std::vector<ReportCell>> rows;
    std::vector<ReportTarget> targets; // one per row, or none at all
};

// Player | Column | Old | New, one row per changed cell, the player named on his first row.
ReportTable ImportChangesTable(const tavrel::ImportPlan& plan, const tavrel::PlayerList& players,
                               const tavrel::TeamNames& teams);

// Player | Where | one column per column that differs anywhere: "old → new", highlighted, where
// the player's value differs; "only in A" or "only in B" for players the other lacks. `a` is the
// open league's list the diff was made from; a player only in B is missing from it, in `fileB`.
ReportTable ComparisonTable(const tavrel::LeagueDiff& diff, const tavrel::PlayerList& a,
                            const tavrel::TeamNames& teams, const QString& fileB);

// One row per problem.
ReportTable CheckTable(const std::vector<tavrel::LeagueProblem>& problems);

// The refused cells the plan keeps, one a line, and how many more there are.
QString RefusalsText(const tavrel::ImportPlan& plan);
