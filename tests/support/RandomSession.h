#pragma once

// A seeded run of random actions on a fresh editor window, each followed by the checks of what must hold
// after it; the first problem ends the run and is reported with the actions that led to it. The soak test
// sends raw events this way, the undo test user steps against a model of the map.
#include "EditorFixture.h"

#include <QStringList>
#include <functional>
#include <random>

class RandomSession {
public:
    explicit RandomSession(std::uint32_t seed) : m_rng(seed) {}
    virtual ~RandomSession() = default;

    // Checks the window as it starts, then runs count actions: empty when every check held.
    QString Run(long long count);

protected:
    // Action n, sent through Do; a problem it showed on the way.
    virtual QString Act(long long n) = 0;
    // What must hold after action n (-1: before the first); last is the run's final action.
    virtual QString Check(long long n, bool last) = 0;

    // Does an action and notes it for the report (the last 20); MOSAICOR_SOAK_TRACE=1 logs each one.
    void Do(const QString& what, const std::function<void()>& action);
    // Empty when the map canvas shows what a full composition shows (one forced by toggling the grid).
    QString StalePicture();

    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    bool Chance(int percent) { return Uniform(0, 99) < percent; }
    int Pick(std::initializer_list<int> items) { return items.begin()[Uniform(0, int(items.size()) - 1)]; }

    EditorFixture f;
    frmMain& w = f.window();
    std::mt19937 m_rng;

private:
    QStringList m_done;
    const bool m_trace = qEnvironmentVariableIntValue("MOSAICOR_SOAK_TRACE") == 1;
};
