// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The OpenDocument package QTextDocumentWriter writes, completed with the page: A4
// portrait, the margins of the printed document and the footer "стр. N из M".
#include <QByteArray>

namespace ogrado {

// The package with a styles.xml that gives the page and the footer, and a manifest
// that lists it. An empty result: the package could not be read.
QByteArray withPageStyle(const QByteArray& package);

}  // namespace ogrado
