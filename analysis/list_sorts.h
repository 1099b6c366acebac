#pragma once
// Sorting and summing the lists of the reports. Texts sort in one order everywhere:
// ASCII letters folded, equal texts kept in their input order; numbers sort by value,
// equal values in input order (descending too). Large reports ask for the top few of
// a long list, which a partial sort answers without ordering the rest.
#include <string>
#include <vector>

#include "core/typed_array.h"

// Sorts the array in place in text order, each item first formatted with the format
// when one is given (so the array then holds the formatted texts).
void LISTX_SortStrArr(core::StrArray& items, const std::string& format);
// Sum of the items first..last (-1: the array's bound); `dflt` for an array without
// bounds. With `average`, out average = sum / max(1, items summed).
double LISTX_LngArrSum(const core::LngArray& values, double dflt, long first, long last, bool average,
                       double& outAverage);
// The distinct values in first-seen order with how often each occurs; both outputs
// start with one element 0.
void LISTX_LngCountDistinct(const core::LngArray& values, core::LngArray& outValues, core::LngArray& outCounts);

// Numeric sort. order[k] is the input index of the k-th value in the chosen
// direction, sortedValues[k] the value; with count >= 0 only the first count are
// given (outputs still count long, 0 past the last value). The key format and the
// cut-off only shaped how the values were once keyed and trimmed; the result is the
// same with or without them.
void LISTX_SortLngArr(const core::LngArray& values, core::LngArray& sortedValues, core::LngArray& order,
                      bool descending, long count, const std::string& keyFormat, bool cutOff, bool& done);
// Text sort of keys: each item, its "|" items formatted with numberFormat when given,
// the whole with format when given. sortedKeys[k] is the key at position k.
void LISTX_SortStrArrList(const core::StrArray& items, core::StrArray& sortedKeys, core::LngArray& order,
                          bool descending, long count, const std::string& format, const std::string& numberFormat);
// Sorts the items (as keys) and carries the companion along.
void LISTX_SortStrArrPaired(core::StrArray& items, core::LngArray& companion, bool descending, long count,
                            const std::string& format, const std::string& numberFormat);
