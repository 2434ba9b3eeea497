#pragma once

class QWidget;

namespace tarvelo {

class MessageSink;

// The sink for one download that a dialog starts (a test download, say): its messages
// go on to target, in order, until the dialog, or a dialog it was opened from, is
// cancelled; from then on they are dropped with their files, and nothing of that
// download reaches the user. A dialog that ends with OK lets the answer through. Of a
// test download only the answer goes on; while it is awaited, the sink shows the busy
// cursor. The
// sink ends by itself once its download has ended. When target is a QObject (the main
// window's hub), messages that come after it has gone are dropped too; any other target
// must outlive the download.
MessageSink& dialogDownloadSink(QWidget* asker, MessageSink& target);

} // namespace tarvelo
