/* Kestra pile-group analysis engine: the one exported entry point.
 *
 * IKESTRA(20) runs one analysis in the current working directory: it reads
 * Names.dat (25 records naming every file of the run), reads the input data
 * file, writes the report, summary, plot, curve, stiffness and runtime files
 * and returns the status code of the run:
 *
 *   0        analysis completed
 *   1        ANALYSIS_OPTION was not 20 (no file is touched)
 *   4        stopped at the front end's request (stop-request file holds 1)
 *   3, 12-14, 21-36   analysis errors (texts in the runtime file)
 *   101      Names.dat missing, short or unreadable
 *   102      input data file missing or unreadable
 *   103      an output or scratch file cannot be created
 *   110-114  input data file faults: ends early (110), value of the wrong
 *            kind (111), non-finite or out-of-range number (112), count above
 *            a table limit (113), reference to a missing item (114)
 *   120      a property that would make a soil or pile formula divide by zero
 *   199      unexpected internal failure
 *
 * Every code other than 0 comes with a message in the runtime file.
 */
#ifndef KESTRA_H
#define KESTRA_H

#include <stdint.h>

#if defined(_WIN32)
#define KESTRA_EXPORT __declspec(dllexport)
#else
#define KESTRA_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

KESTRA_EXPORT int32_t IKESTRA(int32_t ANALYSIS_OPTION);

#ifdef __cplusplus
}
#endif

#endif
