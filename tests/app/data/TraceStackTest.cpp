// Stacking repeated records: sums trace by trace, refuses another geometry without touching
// the stack.

#include "app/data/TraceStack.h"

#include <gtest/gtest.h>

namespace {

TraceReadResult Record(int samples, int traces, double dt, double base)
{
    TraceReadResult r;
    r.ok = true;
    r.samples = samples;
    r.traces = traces;
    r.hasTimeStep = dt > 0.0;
    r.timeStepMs = dt;
    for (int i = 0; i < samples * traces; ++i)
        r.values.push_back(base + i);
    return r;
}

} // namespace

TEST(TraceStack, SumsSampleBySampleAndRefusesAnotherGeometry)
{
    TraceReadResult stack;
    ASSERT_TRUE(StackTraceRead(stack, Record(3, 2, 0.5, 0.0)));
    ASSERT_TRUE(StackTraceRead(stack, Record(3, 2, 0.5, 10.0)));
    // A record without a time step of its own takes the stack's.
    ASSERT_TRUE(StackTraceRead(stack, Record(3, 2, 0.0, 100.0)));
    ASSERT_EQ(stack.values.size(), 6u);
    for (int i = 0; i < 6; ++i)
        EXPECT_DOUBLE_EQ(stack.values[i], 110.0 + 3 * i);
    EXPECT_DOUBLE_EQ(stack.timeStepMs, 0.5);

    const std::vector<double> before = stack.values;
    struct Case
    {
        const char *what;
        TraceReadResult record;
    };
    TraceReadResult unread = Record(3, 2, 0.5, 0.0);
    unread.ok = false;
    for (const Case &c :
        { Case { "traces", Record(3, 3, 0.5, 0.0) }, Case { "samples", Record(4, 2, 0.5, 0.0) },
            Case { "time step", Record(3, 2, 0.25, 0.0) }, Case { "unread", unread } }) {
        SCOPED_TRACE(c.what);
        QString message;
        EXPECT_FALSE(StackTraceRead(stack, c.record, &message));
        EXPECT_FALSE(message.isEmpty());
        EXPECT_EQ(stack.values, before);
        EXPECT_EQ(stack.traces, 2);
        EXPECT_EQ(stack.samples, 3);
    }
}
