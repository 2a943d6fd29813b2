#pragma once
// A line-list view that keeps its rows like a list control would and records the
// calls, so tests can compare what the editor would show.
#include <string>
#include <vector>

#include "macro/LineListView.h"

namespace pallix::macro::test {

class RecordingView : public ILineListView {
public:
    struct Row {
        RowTexts texts;
        bool selected = false;
    };

    bool InsertRow(int row, const RowTexts& texts) override {
        calls.push_back("insert " + std::to_string(row));
        insertedTexts.push_back(texts.instruction);
        if (refuseInserts) return false;
        rows.insert(rows.begin() + row, Row{texts, false});
        return true;
    }
    void SetRow(int row, const RowTexts& texts) override { rows.at(row).texts = texts; }
    void DeleteRow(int row) override {
        calls.push_back("delete " + std::to_string(row));
        rows.erase(rows.begin() + row);
    }
    void DeleteAllRows() override {
        calls.push_back("clear");
        rows.clear();
    }
    void SetRowSelected(int row, bool selected) override { rows.at(row).selected = selected; }
    void ScrollIntoView(int row) override { scrolledTo = row; }

    std::vector<std::string> Instructions() const {
        std::vector<std::string> out;
        for (const auto& r : rows) out.push_back(r.texts.instruction);
        return out;
    }

    std::vector<Row> rows;
    std::vector<std::string> calls;
    std::vector<std::string> insertedTexts;
    int scrolledTo = -1;
    bool refuseInserts = false;
};

}  // namespace pallix::macro::test
