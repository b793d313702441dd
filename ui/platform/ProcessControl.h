#pragma once

#include <functional>

class ProcessControl
{
public:
    virtual ~ProcessControl() = default;

    // Ends the process without returning. Test doubles record the call and return, so callers
    // return at once after it.
    virtual void endProcess() = 0;
};

class RealProcessControl : public ProcessControl
{
public:
    // Runs just before the process ends, to release what other processes look at (the lock).
    void setBeforeEnd(std::function<void()> beforeEnd) { m_beforeEnd = std::move(beforeEnd); }
    [[noreturn]] void endProcess() override;

private:
    std::function<void()> m_beforeEnd;
};
