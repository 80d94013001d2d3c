#include "demorng.h"

namespace {

quint64 splitMix(quint64& x)
{
    quint64 z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

quint64 rotateLeft(quint64 x, int k)
{
    return (x << k) | (x >> (64 - k));
}

} // namespace

DemoRng::DemoRng(quint64 seed)
{
    quint64 x = seed;
    for (quint64& word : m_state) {
        word = splitMix(x);
    }
}

DemoRng::DemoRng(quint64 seed, quint64 stream, quint64 index)
    : DemoRng(hash(seed, stream, index))
{}

// xoshiro256**: fast, well distributed, and the same everywhere.
quint64 DemoRng::next()
{
    const quint64 result = rotateLeft(m_state[1] * 5, 7) * 9;
    const quint64 t = m_state[1] << 17;
    m_state[2] ^= m_state[0];
    m_state[3] ^= m_state[1];
    m_state[1] ^= m_state[2];
    m_state[0] ^= m_state[3];
    m_state[2] ^= t;
    m_state[3] = rotateLeft(m_state[3], 45);
    return result;
}

int DemoRng::below(int bound)
{
    Q_ASSERT(bound > 0);
    // The bias of a plain remainder is below one in 2^40 for the bounds used here.
    return int(next() % quint64(bound));
}

int DemoRng::between(int low, int high)
{
    return low + below(high - low + 1);
}

double DemoRng::unit()
{
    return double(next() >> 11) * 0x1.0p-53;
}

int DemoRng::weighted(std::initializer_list<int> weights)
{
    int total = 0;
    for (const int w : weights) {
        total += w;
    }
    int roll = below(total);
    int index = 0;
    for (const int w : weights) {
        if (roll < w) {
            return index;
        }
        roll -= w;
        ++index;
    }
    return index - 1;
}

quint64 DemoRng::hash(quint64 a, quint64 b, quint64 c)
{
    quint64 x = a;
    quint64 h = splitMix(x);
    x = h ^ b;
    h = splitMix(x);
    x = h ^ c;
    return splitMix(x);
}

double DemoRng::unitOf(quint64 hashValue)
{
    return double(hashValue >> 11) * 0x1.0p-53;
}
