#pragma once

class DataSet;

// Keeps a data set in its sort order as rows are saved: after a post the rows are sorted
// again and the row that is current stays current. The sort waits for the event loop, so a
// post made by moving to another row first ends on the row that was chosen.
void keepSorted(DataSet* dataSet);
