// How many error reports the log has seen, for callers that must tell a clean
// run from one that went on after an error (kxtool's exit status).
#pragma once

// The number of error reports since the process started: messages of level LogError whose
// text starts with "ERROR" (after line breaks), counted whatever the threshold and also once
// the message is not shown. Any thread.
long long LogErrorCount();
