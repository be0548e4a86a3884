#pragma once
// A list of callback targets that may be changed while it is being walked: a
// walk takes a snapshot and skips every target removed in the meantime, so a
// target can remove itself or another during its own call.
#include <algorithm>
#include <vector>

template <typename T>
class CallbackList {
public:
    // A target is in the list at most once.
    bool Add(T* target) {
        if (!target || Contains(target)) return false;
        m_targets.push_back(target);
        return true;
    }
    bool Remove(T* target) {
        const auto it = std::find(m_targets.begin(), m_targets.end(), target);
        if (it == m_targets.end()) return false;
        m_targets.erase(it);
        return true;
    }
    [[nodiscard]] bool Contains(T* target) const {
        return std::find(m_targets.begin(), m_targets.end(), target) != m_targets.end();
    }
    [[nodiscard]] bool Empty() const noexcept { return m_targets.empty(); }
    [[nodiscard]] size_t Size() const noexcept { return m_targets.size(); }

    // Calls `call(target)` for each target still present, newest first when
    // `newestFirst`; stops early when `call` returns true, and returns whether it did.
    template <typename Call>
    bool Walk(Call&& call, bool newestFirst = false) const {
        std::vector<T*> snapshot = m_targets;
        if (newestFirst) std::reverse(snapshot.begin(), snapshot.end());
        for (T* target : snapshot) {
            if (!Contains(target)) continue;
            if (call(target)) return true;
        }
        return false;
    }

private:
    std::vector<T*> m_targets;
};
