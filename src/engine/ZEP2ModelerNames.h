// The modelers of the PDM data model in installation order, and the vault's
// modeler, installed last and only with the vault: the engine plays them and
// the sandbox site ships their DDL, from this one list.
#pragma once

#include <array>
#include <string_view>

inline constexpr std::array<std::string_view, 20> ZEP2ModelerNames = {"CDMSTEP",
                                                                      "PUBSUB",
                                                                      "ZEPADMIN",
                                                                      "GRAPH",
                                                                      "ZEPOB",
                                                                      "PEOPLE",
                                                                      "CONFIG",
                                                                      "WF",
                                                                      "TEMPLAT",
                                                                      "TESPROCESSACTIVITIES",
                                                                      "SUPPLIERCHAINADMIN",
                                                                      "ZEPBUSOBJ",
                                                                      "ELECTRICAL",
                                                                      "TAVOFILEINTROSPECTIONQUEUE",
                                                                      "TEMPLATWB",
                                                                      "STRUCTURES",
                                                                      "COLLABWS",
                                                                      "ARCHIVE",
                                                                      "CableNetwork",
                                                                      "PRODUCTFREEZE"};

inline constexpr std::string_view ZEP2VaultModelerName = "VAULTFILE";
