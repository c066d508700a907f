#pragma once

struct ProgressPaneState;

// The progress pane's widgets: they show a state, nothing more.
class ProgressView
{
public:
    virtual ~ProgressView() = default;
    virtual void showProgressState(const ProgressPaneState &state) = 0;
};
