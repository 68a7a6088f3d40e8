// Hand-over of the process-wide data tables from the loading thread to the main thread. The loading thread reads
// every data file, then publishes; the main thread touches no table before DataTablesPublished() returned true.
// The release/acquire pair makes every write of the readers visible to the main thread without any lock.
#pragma once

void PublishDataTables();
bool DataTablesPublished();

// Frees the store table, catalogue, people, customers and texts, then the shared media; clears the published flag.
// At shutdown on the main thread, after the loading thread has ended.
void FreeDataTables();
