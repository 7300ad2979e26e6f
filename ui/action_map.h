// Named actions: controls raise them, the objects bound as handlers receive them.
#pragma once

#include <map>
#include <string>
#include <vector>

class LUIObj;

struct ActionRecord {
    LUIObj* source;           // the object that raises the action (a control)
    std::string event;        // always "Action"
    LUIObj* handler;          // whose OnAction is called (a page)
    std::string handlerName;  // what the handler dispatches on
};

// Bindings by source key ("%p_Action"), each list in binding order. UI thread only.
extern std::map<std::string, std::vector<ActionRecord>> ActionMap;

// The key of a source's action: its address as printf prints a pointer, "_", "Action".
std::string ActionKey(const LUIObj* source);

// Adds a record; binding the same handler and name twice delivers twice.
void BindAction(LUIObj* source, LUIObj* handler, const std::string& handlerName);

// Delivers the source's action to its handlers in binding order. The walk follows the live
// list: records added during delivery are delivered too, and a handler that destroys the
// source (or its bindings) ends the walk instead of reading freed records.
void FireAction(LUIObj* source);

// Removes every binding whose key begins with the object's address prefix.
void UnbindSource(const LUIObj* object);
