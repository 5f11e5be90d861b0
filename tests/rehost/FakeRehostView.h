#pragma once

// A re-hosting page without windows: records what the job shows and
// answers its questions, so tests drive the job directly.

#include "rehost/RehostView.h"

#include <functional>
#include <string>
#include <vector>

namespace tuji::test {

struct FakeRow {
    int icon = -1;
    std::string status;
    std::string downloadAddress;
    std::string reference;
};

class FakeRehostView : public RehostView {
public:
    RehostInputs inputs;
    int threadCountIndex = 4;
    bool answerYes = false;

    std::vector<std::string> captions;
    std::vector<std::string> progressLines;
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<std::string> openedFolders;
    std::vector<FakeRow> rows;
    // Every row of every article as it last looked before the list was
    // cleared, in order.
    std::vector<FakeRow> finishedRows;
    int barMaximum = -1;
    bool running = false;
    bool lockedBoxes = false;
    int maxRowsAtOnce = 0;
    // Called after each row change (row, icon).
    std::function<void(int, int)> onRowChanged;

    RehostInputs Inputs() override { return inputs; }
    int ThreadCountIndex() override { return threadCountIndex; }
    void SetStartCaption(const std::string& caption) override { captions.push_back(caption); }
    void SetRunning(bool run, int articleCount) override {
        running = run;
        lockedBoxes = run;
        if (run) barMaximum = articleCount;
    }
    void SetProgress(int, const std::string& line) override { progressLines.push_back(line); }
    void ClearRows() override {
        finishedRows.insert(finishedRows.end(), rows.begin(), rows.end());
        rows.clear();
    }
    void AddRow(const QueueEntry& entry, int icon, const std::string& status) override {
        rows.push_back({icon, status, entry.downloadAddress, entry.reference});
        if (int(rows.size()) > maxRowsAtOnce) maxRowsAtOnce = int(rows.size());
    }
    void SetRow(int row, int icon, const std::string& status) override {
        rows.at(size_t(row)).icon = icon;
        rows.at(size_t(row)).status = status;
        if (onRowChanged) onRowChanged(row, icon);
    }
    void ScrollToRow(int) override {}
    void ShowPlainMessage(const std::string& text) override { messages.push_back(text); }
    bool AskPlainQuestion(const std::string& text) override {
        questions.push_back(text);
        return answerYes;
    }
    void OpenFolder(const std::string& folder) override { openedFolders.push_back(folder); }
};

} // namespace tuji::test
