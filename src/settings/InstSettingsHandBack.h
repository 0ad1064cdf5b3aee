// The answers a son hands back to its father when it goes Back to the
// father's last page: the next son starts with them, so going back to
// correct an answer of the first part does not lose those of the second.
#pragma once

// Son, going Back: writes the second part's first answers (DB2 alias and
// directory, DBMS administrator and password) to the repository
// "TESSARInstBack", owner-only. 0, or -1 when it could not be written.
int ZEP2SaveAnswersForFather();

// Father, its son having gone Back: reads those answers into the
// installation parameters and removes the repository.
void ZEP2TakeAnswersFromSon();

// Father, before the next son: forgets the handed-back answers when the
// database they were given for (DBMS, DB2 instance or Oracle service) is no
// longer the one chosen, since a password for another database is no
// answer for this one.
void ZEP2ForgetAnswersForAnotherDatabase();
