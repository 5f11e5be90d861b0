#include "rehost/ReferenceRewrites.h"

#include "text/Chars.h"
#include "text/Encoding.h"

#include <array>
#include <deque>
#include <vector>

namespace tuji {

namespace {

// A keyword automaton over all references at once, so the pass over the
// article stays linear however many references it holds.
class ReferenceAutomaton {
public:
    explicit ReferenceAutomaton(const std::unordered_map<std::string, std::string>& rewrites) {
        nodes_.emplace_back();
        rootNext_.fill(0);
        for (const auto& [reference, address] : rewrites)
            Insert(reference, &address);
        Link();
    }

    // For each start offset, the length of the longest reference found
    // there (0 = none), and what replaces it.
    void Scan(std::string_view text, std::vector<int>& longest,
              std::vector<const std::string*>& replacement) const {
        int state = 0;
        for (size_t j = 0; j < text.size(); ++j) {
            state = Step(state, static_cast<unsigned char>(text[j]));
            for (int t = nodes_[state].replacement ? state : nodes_[state].output; t;
                 t = nodes_[t].output) {
                size_t start = j + 1 - static_cast<size_t>(nodes_[t].depth);
                if (nodes_[t].depth > longest[start]) {
                    longest[start] = nodes_[t].depth;
                    replacement[start] = nodes_[t].replacement;
                }
            }
        }
    }

private:
    struct Node {
        std::vector<std::pair<unsigned char, int>> next;
        int fail = 0;
        int output = 0; // nearest node on the fail chain that ends a reference
        int depth = 0;
        const std::string* replacement = nullptr;
    };

    int Child(int node, unsigned char c) const {
        if (node == 0) return rootNext_[c];
        for (const auto& [byte, child] : nodes_[node].next)
            if (byte == c) return child;
        return -1;
    }

    int Step(int state, unsigned char c) const {
        for (;;) {
            int child = Child(state, c);
            if (child > 0) return child;
            if (state == 0) return 0;
            state = nodes_[state].fail;
        }
    }

    void Insert(const std::string& reference, const std::string* address) {
        int node = 0;
        for (char ch : reference) {
            auto c = static_cast<unsigned char>(ch);
            int child = Child(node, c);
            if (child <= 0) {
                child = static_cast<int>(nodes_.size());
                Node fresh;
                fresh.depth = nodes_[node].depth + 1;
                nodes_.push_back(std::move(fresh));
                if (node == 0)
                    rootNext_[c] = child;
                else
                    nodes_[node].next.emplace_back(c, child);
            }
            node = child;
        }
        nodes_[node].replacement = address;
    }

    void Link() {
        std::deque<int> queue;
        for (int c = 0; c < 256; ++c)
            if (rootNext_[c] > 0) queue.push_back(rootNext_[c]);
        while (!queue.empty()) {
            int node = queue.front();
            queue.pop_front();
            const std::vector<std::pair<unsigned char, int>> children = nodes_[node].next;
            for (const auto& [c, child] : children) {
                int fail = Step(nodes_[node].fail, c);
                if (fail == child) fail = 0;
                nodes_[child].fail = fail;
                nodes_[child].output = nodes_[fail].replacement ? fail : nodes_[fail].output;
                queue.push_back(child);
            }
        }
    }

    std::vector<Node> nodes_;
    std::array<int, 256> rootNext_{};
};

std::vector<bool> CharacterStarts(std::string_view text) {
    std::vector<bool> starts(text.size(), false);
    for (size_t i = 0; i < text.size(); i += CharLength(text, i))
        starts[i] = true;
    return starts;
}

} // namespace

void ReferenceRewrites::Add(std::string reference, std::string newAddress) {
    if (reference.empty()) return;
    std::lock_guard<std::mutex> lock(mutex_);
    rewrites_[std::move(reference)] = std::move(newAddress);
}

int ReferenceRewrites::Count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(rewrites_.size());
}

void ReferenceRewrites::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    rewrites_.clear();
}

std::string ReferenceRewrites::ApplyTo(std::string_view article) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (rewrites_.empty() || article.empty()) return std::string(article);

    std::vector<int> longest(article.size(), 0);
    std::vector<const std::string*> replacement(article.size(), nullptr);
    ReferenceAutomaton(rewrites_).Scan(article, longest, replacement);

    // UTF-8 never has a character start inside another character, so a
    // match there is always whole; double-byte text needs the walk.
    std::vector<bool> starts;
    if (!IsValidUtf8(article)) starts = CharacterStarts(article);

    std::string out;
    out.reserve(article.size());
    size_t i = 0;
    while (i < article.size()) {
        bool atStart = starts.empty() || starts[i];
        if (longest[i] > 0 && atStart) {
            out += *replacement[i];
            i += static_cast<size_t>(longest[i]);
        } else {
            out += article[i];
            ++i;
        }
    }
    return out;
}

} // namespace tuji
