#pragma once

#include "exchange/LeagueCheck.h"
#include "exchange/LeagueDiff.h"
#include "exchange/PlayerImport.h"

#include <QString>
#include <QStringList>
#include <vector>

// What the exchange dialogs show, as plain tables: the changes an import would make, how two
// leagues differ, what the league check found.

struct ReportCell {
    QString text;
    bool highlighted = false; // a changed value
};

struct ReportTable {
    QStringList headers;
    std::vector<std::vector<ReportCell>> rows;
};

// Player | Column | Old | New, one row per changed cell, the player named on his first row.
ReportTable ImportChangesTable(const tavrel::ImportPlan& plan, const tavrel::PlayerList& players);

// Player | Where | one column per column that differs anywhere: "old → new", highlighted, where
// the player's value differs; "only in A" or "only in B" for players the other lacks.
ReportTable ComparisonTable(const tavrel::LeagueDiff& diff);

// One row per problem.
ReportTable CheckTable(const std::vector<tavrel::LeagueProblem>& problems);

// The refused cells the plan keeps, one a line, and how many more there are.
QString RefusalsText(const tavrel::ImportPlan& plan);
