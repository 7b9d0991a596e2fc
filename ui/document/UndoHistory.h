#pragma once

#include "DocumentContent.h"

#include <cstddef>
#include <deque>
#include <memory>

struct UndoStep;

// The document's undo and redo. It keeps a copy of the content as last
// recorded; Record compares the content with it and keeps only what differs:
// per point list the changed run of entries before and after the change
// (equal entries at both ends are shared with the list itself), and the
// settings only when one of them changed. So a step costs what it changed,
// not the size of the configuration.
//
// Every state the content passes through has a number; a new state gets a
// number never used before, so the document is unmodified exactly when the
// current number is the one it was saved at.
class UndoHistory {
public:
    // The steps kept; the oldest is dropped beyond it.
    static constexpr std::size_t kDepth = 200;

    UndoHistory();
    ~UndoHistory();
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    // An empty history that starts at the content.
    void Reset(const DocumentContent& content);

    // Keeps the difference between the last recorded content and this one as
    // a step (the steps that were undone are dropped). False, keeping
    // nothing, when they are equal. selectedBefore and selectedAfter are the
    // selected slave before and after the change; undo and redo select them.
    bool Record(const DocumentContent& content, int selectedBefore, int selectedAfter);

    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < steps_.size(); }

    // Takes the content back one step (or forward again); the selected slave
    // is set as it was then. False when there is no step.
    bool Undo(DocumentContent& content, int& selectedSlave);
    bool Redo(DocumentContent& content, int& selectedSlave);

    // The number of the current state.
    long long State() const { return state_; }
    // The steps kept and their approximate memory in bytes.
    std::size_t StepCount() const { return steps_.size(); }
    std::size_t BytesKept() const;

private:
    std::unique_ptr<DocumentContent> recorded_;
    std::deque<std::unique_ptr<UndoStep>> steps_;
    std::size_t done_ = 0;
    long long state_ = 0;
    long long nextState_ = 1;
};
