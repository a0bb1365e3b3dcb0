#pragma once
// The application's general error report, for errors raised below the user
// interface: the message and a full stop, under the application title.

#include <exception>

class QWidget;

// Shows the report and returns when the user has closed it.
void ShowErrorReport(const std::exception& error, QWidget* parent = nullptr);
