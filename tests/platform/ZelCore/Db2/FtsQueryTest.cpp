// Parsing of "[group, {index, 'a*' and 'b*' }]" and its FTS5 form.
#include <gtest/gtest.h>

#include "Db2/FtsQuery.h"

namespace {

using zel::db2::BuildMatchExpression;
using zel::db2::FtsQuery;
using zel::db2::FtsTerm;
using zel::db2::ParseFtsQuery;

std::vector<std::string> Texts(const FtsQuery& q) {
  std::vector<std::string> out;
  for (const FtsTerm& t : q.terms) {
    out.push_back(t.text + (t.bPrefix ? "*" : ""));
  }
  return out;
}

TEST(FtsQuery, ParsesGroupIndexAndTerms) {
  FtsQuery q;
  ASSERT_TRUE(ParseFtsQuery("[CtPrimaryGroup, {CtPrimaryIndex,  'Kim*' and 'min*' }]", &q));
  EXPECT_EQ(q.group, "ctprimarygroup");
  EXPECT_EQ(q.index, "ctprimaryindex");
  EXPECT_FALSE(q.bAll);
  EXPECT_EQ(Texts(q), (std::vector<std::string>{"Kim*", "min*"}));
}

TEST(FtsQuery, EscapesAreUndone) {
  FtsQuery q;
  ASSERT_TRUE(ParseFtsQuery(R"([g, {i, 'Dan\'s*' AND 'a\\b*' and '\*x*' }])", &q));
  EXPECT_EQ(Texts(q), (std::vector<std::string>{"Dan's*", "a\\b*", "*x*"}));
}

TEST(FtsQuery, LoneAsteriskMeansEveryRow) {
  FtsQuery q;
  ASSERT_TRUE(ParseFtsQuery("[g, {i, '*' }]", &q));
  EXPECT_TRUE(q.bAll);
  EXPECT_TRUE(q.terms.empty());
}

TEST(FtsQuery, BadTextsAreRefused) {
  const std::string kLong = "[g, {i, '" + std::string(1000, 'a') + "*' }]";
  const char* const kBad[] = {
      "[g, {i, 'abc* }]",         // unbalanced quote
      "[g, {i, 'a*b*' }]",        // asterisk inside the term
      "[g, {i, 'ab**' }]",        //
      "[g, {i, '' }]",            // empty term
      "[g, {i, '   *' }]",        // blank term
      "[g, {i, 'a*' or 'b*' }]",  // only "and" joins terms
      "[g, {i, 'a*' 'b*' }]",     //
      "[g, {i, }]",               // no term
      "[g {i, 'a*' }]",           // missing comma
      "[g, {i, 'a*' }",           // missing bracket
      "[g, {i, 'a*' }] x",        // trailing text
      "[, {i, 'a*' }]",           // no group
      "[g, {i, 'a\\",             // escape at the end
      "",
  };
  for (const char* psz : kBad) {
    FtsQuery q;
    EXPECT_FALSE(ParseFtsQuery(psz, &q)) << psz;
  }
  FtsQuery q;
  EXPECT_FALSE(ParseFtsQuery(kLong, &q));
}

TEST(FtsQuery, MatchExpressionQuotesEveryTerm) {
  const std::vector<FtsTerm> terms{{"ki", true}, {"say \"hi\"", true}, {"exact", false}};
  EXPECT_EQ(BuildMatchExpression(terms, false), "\"ki\"* AND \"say \"\"hi\"\"\"* AND \"exact\"");
  EXPECT_EQ(BuildMatchExpression(terms, true), "\"ki\" AND \"say \"\"hi\"\"\" AND \"exact\"");
}

}  // namespace
