// Status-graph files (.VGraph): their line format, and their import into the
// GRAPH tables as one unit of work, all of a graph or none of it.
#include <strings.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "PdmConnection.h"
#include "platform/pdm/ZEPServices.h"

namespace {

struct State {
  std::string name;
  bool initial = false;
  bool final = false;
  std::string colour;
  int line = 0;
};

struct Transition {
  std::string from;
  std::string to;
  std::string action;
  int line = 0;
};

struct StatusGraph {
  std::string name;
  int line = 0;
  std::vector<State> states;
  std::vector<Transition> transitions;
};

struct GraphFault {
  int line = 0;
  std::string reason;
};

bool Keyword(const std::string& word, const char* keyword) {
  return strcasecmp(word.c_str(), keyword) == 0;
}

// The blank-separated fields of a line; "..." keeps blanks, "" inside it is
// one quote. A line whose first field starts with # is a comment.
std::vector<std::string> Fields(const std::string& line, int number) {
  std::vector<std::string> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      ++i;
      continue;
    }
    if (fields.empty() && line[i] == '#') break;
    std::string field;
    if (line[i] == '"') {
      for (++i;; ++i) {
        if (i >= line.size()) throw GraphFault{number, "unterminated quoted name"};
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            field += '"';
            ++i;
            continue;
          }
          ++i;
          break;
        }
        field += line[i];
      }
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') field += line[i++];
    }
    fields.push_back(std::move(field));
  }
  return fields;
}

void ReadState(const std::vector<std::string>& fields, int number, StatusGraph& graph) {
  if (fields.size() < 2 || fields[1].empty()) throw GraphFault{number, "state without a name"};
  State state{fields[1], false, false, {}, number};
  for (std::size_t i = 2; i < fields.size(); ++i) {
    if (Keyword(fields[i], "initial")) {
      state.initial = true;
    } else if (Keyword(fields[i], "final")) {
      state.final = true;
    } else if (strncasecmp(fields[i].c_str(), "colour=", 7) == 0 && fields[i].size() > 7) {
      state.colour = fields[i].substr(7);
    } else {
      throw GraphFault{number, "unknown word " + fields[i] + " after state " + state.name};
    }
  }
  for (const State& other : graph.states) {
    if (other.name == state.name) {
      throw GraphFault{number, "state " + state.name + " is already declared on line " +
                                   std::to_string(other.line)};
    }
    if (other.initial && state.initial) {
      throw GraphFault{number, "a second initial state (" + other.name + " is one, on line " +
                                   std::to_string(other.line) + ")"};
    }
  }
  graph.states.push_back(std::move(state));
}

void ReadLine(const std::vector<std::string>& fields, int number, StatusGraph& graph) {
  const std::string& keyword = fields.front();
  if (Keyword(keyword, "graph")) {
    if (!graph.name.empty()) {
      throw GraphFault{
          number, "a second graph line (the first is line " + std::to_string(graph.line) + ")"};
    }
    if (fields.size() != 2 || fields[1].empty()) {
      throw GraphFault{number, "a graph line holds the graph's name and nothing else"};
    }
    graph.name = fields[1];
    graph.line = number;
    return;
  }
  if (graph.name.empty()) throw GraphFault{number, "the graph line must come first"};
  if (Keyword(keyword, "state")) {
    ReadState(fields, number, graph);
  } else if (Keyword(keyword, "transition")) {
    if (fields.size() < 3 || fields.size() > 4) {
      throw GraphFault{number, "a transition holds its source, its target and an optional action"};
    }
    graph.transitions.push_back(
        {fields[1], fields[2], fields.size() == 4 ? fields[3] : "", number});
  } else {
    throw GraphFault{number, "unknown line " + keyword + " (graph, state or transition expected)"};
  }
}

// Transitions may name states declared after them; they are checked once
// the whole graph is known.
void Check(StatusGraph& graph, int lastLine) {
  // An empty file has no line at all; its message still names line 1.
  if (graph.name.empty()) throw GraphFault{std::max(lastLine, 1), "the file holds no graph line"};
  if (graph.states.empty()) throw GraphFault{graph.line, "graph " + graph.name + " has no state"};
  std::set<std::string> names;
  bool initial = false;
  for (const State& state : graph.states) {
    names.insert(state.name);
    initial = initial || state.initial;
  }
  // A graph that marks no initial state starts in the first one it lists.
  if (!initial) graph.states.front().initial = true;
  std::map<std::pair<std::string, std::string>, int> seen;
  for (const Transition& transition : graph.transitions) {
    for (const std::string* end : {&transition.from, &transition.to}) {
      if (!names.count(*end)) throw GraphFault{transition.line, "unknown state " + *end};
    }
    const auto [where, added] =
        seen.emplace(std::make_pair(transition.from, transition.to), transition.line);
    if (!added) {
      throw GraphFault{transition.line, "transition " + transition.from + " -> " + transition.to +
                                            " is already declared on line " +
                                            std::to_string(where->second)};
    }
  }
}

StatusGraph ReadGraph(std::istream& input) {
  StatusGraph graph;
  std::string line;
  int number = 0;
  while (std::getline(input, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::vector<std::string> fields = Fields(line, number);
    if (!fields.empty()) ReadLine(fields, number, graph);
  }
  Check(graph, number);
  return graph;
}

std::string Flag(bool value) {
  return value ? "1" : "0";
}

// The graph's rows on db, uncommitted. 0, or the failing code.
int Insert(pdm::Connection& db, const std::string& path, const StatusGraph& graph,
           pdm::Failure& failure) {
  const auto run = [&](const std::string& statement, int line) {
    if (db.Execute(statement, failure) != 0) {
      failure.message = path + ":" + std::to_string(line) + ": " + failure.message;
    }
    return failure.code;
  };
  if (run("INSERT INTO " + db.Object("GRAPH_STATUS_GRAPH") +
              " (GRAPH_ID, NAME, SOURCE_FILE, IMPORTED_BY) VALUES (" +
              db.NextValue("GRAPH_SEQ_GRAPH") + ", " + pdm::Literal(graph.name) + ", " +
              pdm::Literal(path) + ", " + pdm::Literal(db.User()) + ")",
          graph.line) != 0) {
    return failure.code;
  }
  std::vector<QelDbRow> rows;
  if (db.Query("SELECT GRAPH_ID FROM " + db.Object("GRAPH_STATUS_GRAPH") +
                   " WHERE NAME = " + pdm::Literal(graph.name),
               rows, failure) != 0) {
    return failure.code;
  }
  if (rows.empty() || rows.front().empty()) {
    failure = {-1, "graph " + graph.name + " cannot be read back after its insertion"};
    return failure.code;
  }
  const std::string id = rows.front().front();
  int position = 0;
  for (const State& state : graph.states) {
    // The colour column is a site customisation: named only when used.
    const bool coloured = !state.colour.empty();
    if (run("INSERT INTO " + db.Object("GRAPH_STATUS_NODE") +
                " (GRAPH_ID, NODE_NAME, NODE_POSITION, IS_INITIAL, IS_FINAL" +
                (coloured ? ", DISPLAY_COLOUR" : "") + ") VALUES (" + id + ", " +
                pdm::Literal(state.name) + ", " + std::to_string(++position) + ", " +
                Flag(state.initial) + ", " + Flag(state.final) +
                (coloured ? ", " + pdm::Literal(state.colour) : "") + ")",
            state.line) != 0) {
      return failure.code;
    }
  }
  for (const Transition& transition : graph.transitions) {
    if (run("INSERT INTO " + db.Object("GRAPH_STATUS_EDGE") +
                " (GRAPH_ID, FROM_NODE, TO_NODE, ACTION_NAME) VALUES (" + id + ", " +
                pdm::Literal(transition.from) + ", " + pdm::Literal(transition.to) + ", " +
                (transition.action.empty() ? "NULL" : pdm::Literal(transition.action)) + ")",
            transition.line) != 0) {
      return failure.code;
    }
  }
  return 0;
}

int Import(const char* administrator, const char* password, const std::string& path,
           pdm::Failure& failure) {
  std::ifstream input(path, std::ios::binary);
  if (!input) {
    failure = {ZEPErrorFileUnreadable, "cannot read " + path + ": " + std::strerror(errno)};
    return failure.code;
  }
  StatusGraph graph;
  try {
    graph = ReadGraph(input);
  } catch (const GraphFault& fault) {
    failure = {ZEPErrorMalformedFile,
               path + ":" + std::to_string(fault.line) + ": " + fault.reason};
    return failure.code;
  }
  if (input.bad()) {
    failure = {ZEPErrorFileUnreadable, "cannot read " + path + ": " + std::strerror(errno)};
    return failure.code;
  }
  const pdm::Target* target = pdm::CurrentTarget();
  if (!target) {
    failure = {ZEPErrorNotConfigured, "no database is configured for the PDM services"};
    return failure.code;
  }
  // A connection of its own: its rollback can only undo this graph.
  const std::unique_ptr<pdm::Connection> db = pdm::Connection::Open(
      *target, administrator ? administrator : "", password ? password : "", failure);
  if (!db) return failure.code;
  if (Insert(*db, path, graph, failure) != 0 || db->Commit(failure) != 0) {
    db->Rollback();
    return failure.code;
  }
  return 0;
}

}  // namespace

int ZEPRDBEIAPI(const char* administrator, const char* password, const char* action,
                const char* path, int& errorCode, char* message) {
  pdm::ClearReport();
  pdm::Failure failure;
  if (!action || std::strcmp(action, "Import") != 0) {
    failure = {ZEPErrorUnknownAction, "unknown action " + std::string(action ? action : "(none)") +
                                          ": the status-graph service only imports (Import)"};
  } else {
    Import(administrator, password, path ? path : "", failure);
  }
  errorCode = failure.code;
  QelDbSetMessage(message, failure.message);
  if (failure.code != 0) pdm::Report("ZEPRDBEIAPI", failure, false);
  return failure.code;
}
