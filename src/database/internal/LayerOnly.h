#pragma once

// The headers in this folder are the database layer's own: its public
// headers and the files of other libraries never include them.
#ifndef KPL_DATABASE_LAYER
#error "an internal header of the database layer, for its own files only"
#endif
