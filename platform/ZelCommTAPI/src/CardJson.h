// A strict JSON reader and writer for card files: no comments, no trailing commas, no duplicate
// keys; errors name the line and column. Object members keep their order, so a card written back
// keeps the keys other tools put in it.
#ifndef ZEL_TAPI_CARD_JSON_H
#define ZEL_TAPI_CARD_JSON_H

#include <string>
#include <utility>
#include <vector>

namespace zel::sim {

struct JsonValue {
  enum class Type { Null, Bool, Number, String, Array, Object };
  Type type = Type::Null;
  bool bValue = false;
  std::string text;  // strings: the value; numbers: the number as written
  std::vector<JsonValue> items;
  std::vector<std::pair<std::string, JsonValue>> members;

  static JsonValue String(std::string s);
  static JsonValue Number(long long n);
  static JsonValue Bool(bool b);
  static JsonValue Array();
  static JsonValue Object();

  const JsonValue* Find(const std::string& key) const;
  JsonValue* Find(const std::string& key);
  // Sets (or adds at the end) an object member.
  JsonValue& Set(const std::string& key, JsonValue value);
  // A number that is a whole value within [nMin, nMax].
  bool AsInt(long long nMin, long long nMax, long long* pValue) const;
};

// False with "line L, column C: <what>" in *pError for text that is not one JSON value.
bool ParseJson(const std::string& text, JsonValue* pValue, std::string* pError);
// Indented text; arrays of scalars are written one item per line.
std::string WriteJson(const JsonValue& value);

}  // namespace zel::sim

#endif
