#pragma once

class ProgressViewController;

// The progress pane's owner: what its buttons ask for.
class ProgressViewDelegateProtocol
{
public:
    virtual ~ProgressViewDelegateProtocol() = default;

    virtual void toggleProgressView(ProgressViewController &pane, bool hidden) = 0;
    virtual void pauseProcess(ProgressViewController &pane) = 0;
    virtual void resumeProcess(ProgressViewController &pane) = 0;
    virtual void stopProcess(ProgressViewController &pane) = 0;
};
