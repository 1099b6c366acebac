#pragma once
// File > "&List raw log data added": the history of additions as a table, from which a
// closing record's robot filters, problem files and summary per search engine open.
void STTA_AddDataLogList();
