#pragma once

#include <cstdint>
#include <map>
#include <memory>

namespace kelo {

// Maps the game id to one object, made on first request and kept until the registry goes.
template <typename T> class CGameRegistry {
public:
    template <typename Make> T& Get(int16_t gameId, Make&& make) {
        auto it = m_objects.find(gameId);
        if (it == m_objects.end())
            it = m_objects.emplace(gameId, make()).first;
        return *it->second;
    }
    bool Contains(int16_t gameId) const { return m_objects.count(gameId) != 0; }

private:
    std::map<int16_t, std::unique_ptr<T>> m_objects;
};

} // namespace kelo
