#pragma once

#include <QList>
#include <QtGlobal>

#include <initializer_list>
#include <utility>
#include <vector>

// Reproducible random numbers for the demo roll: the same seed gives the same roll with every compiler
// and library, which the standard distributions do not promise, so none of them is used here.
class DemoRng final
{
public:
    explicit DemoRng(quint64 seed);
    // An independent stream for one part of the roll (a stage and an index within it), so that the
    // numbers one part draws do not shift those of another.
    DemoRng(quint64 seed, quint64 stream, quint64 index);

    quint64 next();
    // 0 <= result < bound; bound must be positive.
    int below(int bound);
    // low <= result <= high.
    int between(int low, int high);
    // 0 <= result < 1.
    double unit();
    bool chance(double probability) { return unit() < probability; }
    // An index into weights, drawn in proportion to them.
    int weighted(std::initializer_list<int> weights);

    template <typename T>
    const T& pick(const QList<T>& items)
    {
        return items.at(below(int(items.size())));
    }

    template <typename T>
    void shuffle(std::vector<T>& items)
    {
        for (int i = int(items.size()) - 1; i > 0; --i) {
            std::swap(items[size_t(i)], items[size_t(below(i + 1))]);
        }
    }

    // A well-mixed number from three inputs, for decisions that need no stream (a household's
    // absence in a given week).
    static quint64 hash(quint64 a, quint64 b, quint64 c);
    // The number mapped onto 0 <= result < 1.
    static double unitOf(quint64 hashValue);

private:
    quint64 m_state[4];
};
