#pragma once
#include <QMetaType>
#include <string>

#include "jobs/job_events.h"
#include "jobs/job_results.h"

// The job events' types, carried by queued signals.
Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(ravo::JobProgress)
Q_DECLARE_METATYPE(ravo::CDiveLog)
Q_DECLARE_METATYPE(ravo::LogDirectory)
Q_DECLARE_METATYPE(ravo::LinkEvent)
Q_DECLARE_METATYPE(ravo::JobOutcome)
