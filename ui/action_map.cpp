#include "ui/action_map.h"

#include <cstdio>

#include "base/diagnostics.h"
#include "ui/lui_obj.h"

std::map<std::string, std::vector<ActionRecord>> ActionMap;

namespace {

const char kActionEvent[] = "Action";

std::string AddressPrefix(const LUIObj* object) {
    char text[128] = {};
    std::snprintf(text, sizeof(text), "%p_", static_cast<const void*>(object));
    return text;
}

}  // namespace

std::string ActionKey(const LUIObj* source) {
    char text[128] = {};
    std::snprintf(text, sizeof(text), "%p_%s", static_cast<const void*>(source), kActionEvent);
    return text;
}

void BindAction(LUIObj* source, LUIObj* handler, const std::string& handlerName) {
    ActionMap[ActionKey(source)].push_back(ActionRecord{source, kActionEvent, handler, handlerName});
}

void FireAction(LUIObj* source) {
    const std::string key = ActionKey(source);
    // The list is looked up again before every record: a handler may bind more records
    // (reallocating the list) or destroy the source (erasing it) while it runs.
    for (size_t index = 0;; ++index) {
        const auto entry = ActionMap.find(key);
        if (entry == ActionMap.end() || index >= entry->second.size()) return;
        const ActionRecord copy = entry->second[index];
        DebugPrint(L"action %hs at %u ms", copy.handlerName.c_str(), MillisecondsSinceStart());
        copy.handler->OnAction(copy);
    }
}

void UnbindSource(const LUIObj* object) {
    const std::string prefix = AddressPrefix(object);
    auto entry = ActionMap.lower_bound(prefix);
    while (entry != ActionMap.end() && entry->first.compare(0, prefix.size(), prefix) == 0) {
        entry = ActionMap.erase(entry);
    }
}
