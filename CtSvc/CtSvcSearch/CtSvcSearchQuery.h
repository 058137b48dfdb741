// Texts handed to the full-text engine: the query built from a user's search text (pure functions,
// text in, text out) and the row-id sub-query that narrows an extended search.
#ifndef CTSVC_SEARCH_QUERY_H
#define CTSVC_SEARCH_QUERY_H

#include <string>
#include <string_view>

#include "CtSvcSearch.h"

// The part of the text that is searched: its first CTSVC_SEARCH_TEXT_MAX bytes, shortened further
// so that it does not end inside a UTF-8 character.
std::string_view CtSvcSearchCutText(std::string_view text);

// Escapes '\', '*' and '\'' with a backslash (in that order, so no escape is escaped twice).
std::string CtSvcSearchEscapeText(std::string_view text);

// The term list of the cut, escaped text: " 'w1*' and 'w2*'" with one prefix term per word
// (words are separated by blanks), or "'*'" when there is no word.
std::string CtSvcSearchMakeTermList(std::string_view text);

// "[group, {index, terms }]" for the text.
std::string CtSvcSearchMakeQuery(const char* pszGroup, const char* pszIndex, std::string_view text);

// The row-id sub-query of an extended search of the type, and the number of its conditions
// (0: the search is not narrowed). Logs each value it uses.
std::string CtSvcSearchMakeRidQuery(int nType, const CtSvcExtendedSearchRequest& request, int* pnConditions);

#endif
