#pragma once

#include "app/Journal.h"
#include "app/MessageBox.h"
#include "testing/SessionStore.h"
#include "testing/TestSession.h"

namespace oplix {

// Looks for the work of a run that ended without the pupil leaving his test and asks him
// whether to finish it: "Tak" brings it back on `session`, "Nie" and "Anuluj" discard it. A
// record that cannot be used is journalled and removed. True when a test was resumed.
bool OfferInterruptedWork(SessionStore& store, TestSession& session, Journal& journal,
                          MessageBoxPresenter& messages);

}  // namespace oplix
