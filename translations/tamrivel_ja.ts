<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>Cli</name>
    <message>
        <source>
'tamrivel-cli help COMMAND' or 'tamrivel-cli COMMAND --help' shows the command's options.</source>
        <translation>
'tamrivel-cli help COMMAND' または 'tamrivel-cli COMMAND --help' でコマンドのオプションを表示します。</translation>
    </message>
    <message>
        <source>tamrivel-cli: error %1: </source>
        <translation>tamrivel-cli: エラー %1: </translation>
    </message>
    <message>
        <source>Show this help.</source>
        <translation>このヘルプを表示します。</translation>
    </message>
    <message>
        <source>Show the version.</source>
        <translation>バージョンを表示します。</translation>
    </message>
    <message>
        <source>Usage: tamrivel-cli COMMAND [options] FILE...
       tamrivel-cli help COMMAND</source>
        <translation>使い方: tamrivel-cli COMMAND [options] FILE...
        tamrivel-cli help COMMAND</translation>
    </message>
    <message>
        <source>file</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>bytes</source>
        <translation>バイト数</translation>
    </message>
    <message>
        <source>tamrivel-cli: %1
Try 'tamrivel-cli %2'.
</source>
        <translation>tamrivel-cli: %1
'tamrivel-cli %2' で使い方を表示します。
</translation>
    </message>
    <message>
        <source>Pad each output to SIZE bytes.</source>
        <translation>各出力を SIZE バイトまで埋めます。</translation>
    </message>
    <message>
        <source>The parts are SIZE bytes each, padded as split pads them.</source>
        <translation>部品はそれぞれ SIZE バイトで、split と同じように埋められています。</translation>
    </message>
    <message>
        <source>The padding and gap byte (default 0xFF, an erased EPROM), or mirror to fill each chip with copies of what it holds.</source>
        <translation>埋め草と隙間のバイト (既定は消去済み EPROM の 0xFF)。mirror なら各チップを中身の繰り返しで埋めます。</translation>
    </message>
    <message>
        <source>The padding and gap byte the parts hold (default 0xFF), or mirror for chips filled with copies of what they hold.</source>
        <translation>部品の埋め草と隙間のバイト (既定は 0xFF)。mirror なら中身の繰り返しで埋められたチップです。</translation>
    </message>
    <message>
        <source>Start the image SIZE bytes into each output, erased bytes before it.</source>
        <translation>イメージを各出力の SIZE バイト目から始め、その前は消去済みのバイトにします。</translation>
    </message>
    <message>
        <source>The image starts SIZE bytes into each part, erased bytes before it.</source>
        <translation>イメージは各部品の SIZE バイト目から始まり、その前は消去済みのバイトです。</translation>
    </message>
    <message>
        <source>Cut each way over as many chips as it needs (needs --chip or --size).</source>
        <translation>各ウェイを必要なだけのチップに分けます (--chip か --size が必要)。</translation>
    </message>
    <message>
        <source>Each way is on as many chips as it needs, the parts listed as split lists them (needs --chip or --size).</source>
        <translation>各ウェイは必要なだけのチップに分かれ、部品は split が並べる順に並べます (--chip か --size が必要)。</translation>
    </message>
    <message>
        <source>Write bin (default), ihex or srec.</source>
        <translation>bin (既定)、ihex、srec のいずれかで書きます。</translation>
    </message>
    <message>
        <source>Taken as split takes it: each part is read as raw bytes, Intel HEX or S-records, whatever its content says.</source>
        <translation>split と同じに受け付けます。各部品は中身に応じてバイトのまま、Intel HEX、S レコードとして読みます。</translation>
    </message>
    <message>
        <source>Take each %1 as raw bytes, even if it looks like Intel HEX, S-records or another converter's text.</source>
        <translation>各 %1 を、Intel HEX や S レコード、他の変換ツールのテキストに見えてもバイトのまま読みます。</translation>
    </message>
    <message>
        <source>SIZE: 32768, 0x8000, 32K (or 32KiB), 1M (or 1MiB).
BYTE: 0 to 255, or 0x00 to 0xff.</source>
        <translation>SIZE: 32768、0x8000、32K (または 32KiB)、1M (または 1MiB)。
BYTE: 0 から 255、または 0x00 から 0xff。</translation>
    </message>
    <message>
        <source>Print nothing on success: errors only.</source>
        <translation>成功したときは何も表示しません。エラーだけを表示します。</translation>
    </message>
    <message>
        <source>Replace outputs that exist (without it, they are refused and nothing is written).</source>
        <translation>既存の出力を置き換えます (指定しなければ既存の出力は拒否し、何も書きません)。</translation>
    </message>
    <message>
        <source>Reverse the byte order inside each W-byte unit.</source>
        <translation>W バイト単位ごとにバイト順を逆にします。</translation>
    </message>
    <message>
        <source>Usage: tamrivel-cli %1 [options] %2</source>
        <translation>使い方: tamrivel-cli %1 [options] %2</translation>
    </message>
    <message>
        <source>waiting for another run to finish with %1</source>
        <translation>別の実行が %1 を使い終えるのを待っています</translation>
    </message>
    <message>
        <source>waiting for another program to close %1</source>
        <translation>別のプログラムが %1 を閉じるのを待っています</translation>
    </message>
    <message>
        <source>name</source>
        <translation>名前</translation>
    </message>
    <message>
        <source>data bus</source>
        <translation>データバス</translation>
    </message>
    <message>
        <source>%1  %2  %3-bit
</source>
        <translation>%1  %2  %3 ビット
</translation>
    </message>
    <message>
        <source>Lists the chips --chip knows: name, size in bytes and data bus width. In a name, case and the C of a CMOS part do not matter (27c256, 27256).</source>
        <translation>--chip が知っているチップを、名前、バイト数、データバス幅とともに一覧します。名前の大文字小文字と CMOS 品の C は区別しません (27c256、27256)。</translation>
    </message>
    <message>
        <source>list the chips --chip knows, with their sizes</source>
        <translation>--chip が知っているチップを大きさとともに一覧する</translation>
    </message>
    <message>
        <source>1 byte differs</source>
        <translation>1 バイトが違います</translation>
    </message>
    <message>
        <source>%1 bytes differ</source>
        <translation>%1 バイトが違います</translation>
    </message>
    <message>
        <source>  likely: %1
</source>
        <translation>  推定原因: %1
</translation>
    </message>
    <message>
        <source>way %1 of --ways %2 --width %3</source>
        <translation>--ways %2 --width %3 のウェイ %1</translation>
    </message>
    <message>
        <source>, bank %1 of %2</source>
        <translation>、%2 のバンク %1</translation>
    </message>
    <message>
        <source>the first 0x%1 bytes of %2</source>
        <translation>%2 の先頭 0x%1 バイト</translation>
    </message>
    <message>
        <source>0x%1 byte missing</source>
        <translation>0x%1 バイト不足</translation>
    </message>
    <message>
        <source>0x%1 bytes missing</source>
        <translation>0x%1 バイト不足</translation>
    </message>
    <message>
        <source>0x%1 byte too many</source>
        <translation>0x%1 バイト過剰</translation>
    </message>
    <message>
        <source>0x%1 bytes too many</source>
        <translation>0x%1 バイト過剰</translation>
    </message>
    <message>
        <source>not searched: %1
</source>
        <translation>探していません: %1
</translation>
    </message>
    <message>
        <source>no part: it shares no run of %1 bytes with any part of a split of the image
</source>
        <translation>該当なし: イメージのどの分割のどの部品とも、%1 バイト続けて一致するところがありません
</translation>
    </message>
    <message>
        <source>The image the chips were split from.</source>
        <translation>チップの元になったイメージ。</translation>
    </message>
    <message>
        <source>Chip images as read back: raw bytes, Intel HEX or S-records, up to %1 each.</source>
        <translation>読み戻したチップのイメージ。バイトのまま、Intel HEX、S レコードのいずれか。それぞれ %1 まで。</translation>
    </message>
    <message>
        <source>Print nothing but errors: the exit status tells whether all matched.</source>
        <translation>エラー以外は何も表示しません。すべて一致したかは終了ステータスでわかります。</translation>
    </message>
    <message>
        <source>tell which part of a split each chip image is</source>
        <translation>各チップのイメージが分割のどの部品かを答える</translation>
    </message>
    <message>
        <source>The chip images, in the order split names them.</source>
        <translation>チップのイメージ。split が名前を付ける順に。</translation>
    </message>
    <message>
        <source>The byte a record part's gaps read as, and the only one --offset and --length may cut off (default 0xFF, an erased EPROM); mirror: the parts were split with --fill mirror, and --length cuts off their copies unchecked.</source>
        <translation>レコードの部品の隙間として読むバイトで、--offset と --length が切り捨ててよい唯一のバイト (既定は消去済み EPROM の 0xFF)。mirror: 部品は --fill mirror で分割されたもので、--length はその繰り返しを確かめずに切り捨てます。</translation>
    </message>
    <message>
        <source>Skip the first SIZE bytes of each part, as split --offset put them there.</source>
        <translation>split --offset が置いたとおり、各部品の先頭 SIZE バイトを飛ばします。</translation>
    </message>
    <message>
        <source>Cut the output to SIZE bytes, to drop the chips' padding.</source>
        <translation>チップの埋め草を除くため、出力を SIZE バイトに切り詰めます。</translation>
    </message>
    <message>
        <source>The PARTs are the chips of a banked split, way by way and bank by bank within a way, all of one size.</source>
        <translation>PART はバンク分けした分割のチップで、ウェイごとに、ウェイの中ではバンクごとに並べ、すべて同じ大きさです。</translation>
    </message>
    <message>
        <source>join chip images back into one, undoing split</source>
        <translation>チップのイメージを一つに結合し、split を元に戻す</translation>
    </message>
    <message>
        <source>tamrivel-cli: %1 bytes of fill added after the last record of %2, to fit the other parts
</source>
        <translation>tamrivel-cli: 他の部品に合わせるため、%2 の最後のレコードの後に埋め値を %1 バイト加えました
</translation>
    </message>
    <message>
        <source>The files to write, way by way, and bank by bank within a way.</source>
        <translation>書き出すファイル。ウェイごとに、ウェイの中ではバンクごとに。</translation>
    </message>
    <message>
        <source>deal an image round-robin to its chips' images</source>
        <translation>イメージのバイトを順に配って各チップのイメージにする</translation>
    </message>
    <message>
        <source>padding</source>
        <translation>埋め草</translation>
    </message>
    <message>
        <source>source 0x%1</source>
        <translation>元 0x%1</translation>
    </message>
    <message>
        <source>  part 0x%1 (%2): expected 0x%3, found 0x%4
</source>
        <translation>  部品 0x%1 (%2): 期待値 0x%3、実際 0x%4
</translation>
    </message>
    <message>
        <source>the same, %1 bytes
</source>
        <translation>一致、%1 バイト
</translation>
    </message>
    <message>
        <source>%1 bytes, but the split writes %2
</source>
        <translation>%1 バイトですが、分割では %2 バイトです
</translation>
    </message>
    <message>
        <source>  not diagnosed further: over %1, more than is held in memory
</source>
        <translation>  これ以上は診断していません: %1 を超え、メモリに保持できる大きさを超えています
</translation>
    </message>
    <message>
        <source>Print nothing but errors: the exit status tells whether all are the same.</source>
        <translation>エラー以外は何も表示しません。すべて同じかは終了ステータスでわかります。</translation>
    </message>
    <message>
        <source>Taken as split takes it; verify writes nothing.</source>
        <translation>split と同じに受け付けます。verify は何も書きません。</translation>
    </message>
    <message>
        <source>check chip images against what split writes</source>
        <translation>チップのイメージを split が書くものと照合する</translation>
    </message>
    <message>
        <source>exact</source>
        <translation>完全に一致</translation>
    </message>
    <message>
        <source>, </source>
        <translation>、</translation>
    </message>
    <message>
        <source>  or %1: %2
</source>
        <translation>  または %1: %2
</translation>
    </message>
    <message>
        <source>The image to write; - writes it to standard output, once it is joined in full, and the report to standard error.</source>
        <translation>書き出すイメージ。- なら、すべて結合し終えてから標準出力に書き、報告は標準エラー出力に書きます。</translation>
    </message>
    <message>
        <source>The image to split; - reads it from standard input, and the OUTPUTs must then be named.</source>
        <translation>分割するイメージ。- なら標準入力から読みます。そのときは OUTPUT を指定しなければなりません。</translation>
    </message>
    <message>
        <source>Splits a ROM image into the images of its chips by dealing bytes round-robin, joins chip images back into one, checks chips read back against the image and against each other, and shows the sums a programmer shows.

Commands:
</source>
        <translation>ROM イメージのバイトを順繰りに配ってチップごとのイメージに分け、チップのイメージを一つに結合し、読み出したチップをイメージと、また読み出し同士で照合し、ROM ライターが示す和を表示します。

コマンド:
</translation>
    </message>
    <message>
        <source>Sum the buffer of this chip, padded as split pads it (see 'tamrivel-cli chips').</source>
        <translation>このチップのバッファーの和をとります。split と同じように埋めます ('tamrivel-cli chips' を参照)。</translation>
    </message>
    <message>
        <source>Sum a chip buffer of SIZE bytes, padded as split pads it.</source>
        <translation>SIZE バイトのチップのバッファーの和をとります。split と同じように埋めます。</translation>
    </message>
    <message>
        <source>The byte the programmer's buffer is cleared to, for padding and a record file's gaps (default 0xFF), or mirror for a chip filled with copies of the file.</source>
        <translation>ROM ライターがバッファーを消去するバイトで、埋め草とレコードファイルの隙間になります (既定は 0xFF)。mirror ならファイルの複製で埋めたチップです。</translation>
    </message>
    <message>
        <source>Load each FILE SIZE bytes into the chip buffer, fill before it.</source>
        <translation>各 FILE をチップのバッファーの SIZE バイト目から読み込み、その前は埋め草にします。</translation>
    </message>
    <message>
        <source>Data bytes in each Intel HEX or S-record line, 1 to 255 (default 32; an S-record holds at most 250).</source>
        <translation>Intel HEX または S レコードの 1 行に入れるデータのバイト数。1 から 255 まで（既定値は 32。S レコードは 250 まで）。</translation>
    </message>
    <message>
        <source>Taken as split takes it: records of any size are read.</source>
        <translation>split と同じく受け付ける。どの大きさのレコードも読む。</translation>
    </message>
    <message>
        <source>How Intel HEX reaches past 64 KiB: linear (default, type 04 records, up to 4 GiB) or segment (type 02, up to 1 MiB).</source>
        <translation>Intel HEX で 64 KiB を超えるアドレスの書き方。linear（既定。タイプ 04 のレコードで 4 GiB まで）または segment（タイプ 02 で 1 MiB まで）。</translation>
    </message>
    <message>
        <source>Taken as split takes it: linear and segment addresses are both read.</source>
        <translation>split と同じく受け付ける。リニアとセグメントのアドレスをどちらも読む。</translation>
    </message>
    <message>
        <source>S-record address width: 16 (S1 and S9, up to 64 KiB), 24 (S2 and S8, up to 16 MiB) or 32 (S3 and S7); by default the narrowest that holds the last address.</source>
        <translation>S レコードのアドレスの幅。16（S1 と S9、64 KiB まで）、24（S2 と S8、16 MiB まで）、32（S3 と S7）のどれか。既定では最終アドレスが入るいちばん狭い幅。</translation>
    </message>
    <message>
        <source>Taken as split takes it: S1, S2 and S3 records are all read.</source>
        <translation>split と同じく受け付ける。S1、S2、S3 のレコードをすべて読む。</translation>
    </message>
    <message>
        <source>Number the records from ADDRESS, where the chip sits in the target's memory (default 0).</source>
        <translation>レコードのアドレスを、ターゲットのメモリ上でチップが置かれる ADDRESS から始める（既定値は 0）。</translation>
    </message>
    <message>
        <source>The record parts are numbered from ADDRESS, as split --base wrote them: ADDRESS is taken off every address, and data below it is an error. Raw parts have no addresses and are read as they are.</source>
        <translation>レコードの分割ファイルは、split --base が書いたとおり ADDRESS から番号が付いている。各アドレスから ADDRESS を引いて読み、それより下のデータはエラーとする。生のバイトの分割ファイルにはアドレスがないので、そのまま読む。</translation>
    </message>
    <message>
        <source>D%1 read as %2 by %3 of %4 reads</source>
        <translation>D%1 を %4 回中 %3 回 %2 と読んだ</translation>
    </message>
    <message>
        <source>1 byte
</source>
        <translation>1 バイト
</translation>
    </message>
    <message>
        <source>%1 bytes
</source>
        <translation>%1 バイト
</translation>
    </message>
    <message>
        <source>the reads differ in size: only the first byte is compared
</source>
        <translation>読み出しの大きさが違います。先頭の 1 バイトだけを比べました
</translation>
    </message>
    <message>
        <source>the reads differ in size: the first %1 bytes are compared
</source>
        <translation>読み出しの大きさが違います。先頭の %1 バイトを比べました
</translation>
    </message>
    <message>
        <source>written, each byte as more than half of the reads hold it
</source>
        <translation>各バイトを読み出しの過半数が持つ値で書きました
</translation>
    </message>
    <message>
        <source>nothing written: the reads differ in size
</source>
        <translation>何も書いていません。読み出しの大きさが違います
</translation>
    </message>
    <message>
        <source>nothing written: no byte has a majority at %1
</source>
        <translation>何も書いていません。%1 で過半数の持つバイトがありません
</translation>
    </message>
    <message>
        <source>nothing written: no byte has a majority at %1 offsets: %2
</source>
        <translation>何も書いていません。%1 か所で過半数の持つバイトがありません: %2
</translation>
    </message>
    <message>
        <source>the %1 reads agree in the bytes they all hold
</source>
        <translation>%1 回の読み出しは、すべてに共通する部分で一致します
</translation>
    </message>
    <message>
        <source>the %1 reads agree
</source>
        <translation>%1 回の読み出しは一致します
</translation>
    </message>
    <message>
        <source>Compares several reads of one chip byte by byte, over the length all of them have. If they agree, says so and exits with 0. Otherwise exits with 1 and prints how many bytes differ, the first eight with the byte each read holds and, for each bit the reads disagree on, the value the fewer of them read, then a line starting 'likely:' saying whether the unstable bits share one data line (a bad contact on that pin) or are scattered (a weak chip or a poor socket). Reads of different sizes are said to differ. A DUMP that cannot be read is exit status 2, as are options that cannot be carried out.</source>
        <translation>同じチップを何回か読み出したものを、すべてに共通する長さについて 1 バイトずつ比べます。一致すればそう表示し、終了ステータス 0 で終わります。そうでなければ 1 で終わり、違うバイトの数と、最初の 8 個について各読み出しの値と、読み出しの間で食い違うビットごとに少ないほうの読み出しが読んだ値を表示し、続いて 'likely:' で始まる行で、不安定なビットが一つのデータ線に集まっている (そのピンの接触不良) か、散らばっている (チップの劣化かソケットの不良) かを示します。大きさの違う読み出しは違いがあるものとします。読めない DUMP は終了ステータス 2 で、実行できないオプションも同じです。</translation>
    </message>
    <message>
        <source>The reads of one chip: raw bytes, Intel HEX or S-records.</source>
        <translation>同じチップの読み出し。バイトのまま、Intel HEX、S レコードのいずれか。</translation>
    </message>
    <message>
        <source>With three reads or more, write to OUTPUT each byte as more than half of the reads hold it; where no byte has such a majority, or the reads differ in size, write nothing and name the offsets.</source>
        <translation>読み出しが 3 回以上あるとき、各バイトを読み出しの過半数が持つ値で OUTPUT に書きます。過半数の持つバイトがない位置があるか、読み出しの大きさが違うときは、何も書かずにその位置を示します。</translation>
    </message>
    <message>
        <source>Print nothing but errors: the exit status tells whether the reads agree.</source>
        <translation>エラー以外は何も表示しません。読み出しが一致するかは終了ステータスでわかります。</translation>
    </message>
    <message>
        <source>compare several reads of one chip, and vote</source>
        <translation>同じチップの何回かの読み出しを比べ、多数決をとる</translation>
    </message>
    <message>
        <source>Prints each FILE with its size, CRC-32, the sum of its bytes in 16 and 32 bits (sum16, sum32), and the sums of its 16-bit words, low byte first (words-le) and high byte first (words-be), all in hex. Each FILE is read as join reads a part: raw bytes, or the image its Intel HEX or S-records hold, gaps read as --fill. With --chip or --size, the sums are of the whole chip buffer a programmer holds once the file is loaded, padding included, as split pads a chip; a file larger than the chip is an error.

</source>
        <translation>各 FILE について、大きさ、CRC-32、バイトの和の 16 ビットと 32 ビット (sum16、sum32)、16 ビットのワードの和を下位バイトを先に取ったもの (words-le) と上位バイトを先に取ったもの (words-be) を、どれも 16 進数で表示します。各 FILE は join が部品を読むのと同じように読みます。バイトのまま、または Intel HEX や S レコードが表すイメージで、隙間は --fill として読みます。--chip か --size を付けると、ファイルを読み込んだ ROM ライターが持つチップのバッファー全体の和を、split がチップを埋めるのと同じく埋めた部分も含めて示します。チップより大きいファイルはエラーです。

</translation>
    </message>
    <message>
        <source>The images or chip images to sum.</source>
        <translation>和をとるイメージまたはチップのイメージ。</translation>
    </message>
    <message>
        <source>Print nothing but errors: the exit status tells whether all could be read.</source>
        <translation>エラー以外は何も表示しません。すべて読めたかは終了ステータスでわかります。</translation>
    </message>
    <message>
        <source>show the sums a programmer shows for a file</source>
        <translation>ファイルについて ROM ライターが示す和を表示する</translation>
    </message>
    <message>
        <source>Pad each output to the size of this chip (see 'tamrivel-cli chips'); a 16-bit chip makes --width 2 unless --width is given.</source>
        <translation>各出力をこのチップの大きさまで埋めます ('tamrivel-cli chips' を参照)。16 ビットのチップなら、--width を指定しない限り --width 2 になります。</translation>
    </message>
    <message>
        <source>The parts are chips of this size, padded as split pads them (see 'tamrivel-cli chips'); a 16-bit chip makes --width 2 unless --width is given.</source>
        <translation>部品はこの大きさのチップで、split と同じように埋められています ('tamrivel-cli chips' を参照)。16 ビットのチップなら、--width を指定しない限り --width 2 になります。</translation>
    </message>
    <message>
        <source>Deal to N parts, %1 to %2 (default 2, or as many as named); 1 for one chip holding the whole image, such as a 16-bit one.</source>
        <translation>N 個の部品に配ります。%1 から %2 まで (既定は 2、または指定したファイルの数)。1 は、16 ビットのチップのようにイメージ全体を持つチップ 1 個です。</translation>
    </message>
    <message>
        <source>Bytes a turn: %1 (default 1, or 2 for a 16-bit --chip).</source>
        <translation>一度に配るバイト数: %1 (既定は 1、16 ビットの --chip なら 2)。</translation>
    </message>
    <message>
        <source>The board connects chip data line D0 to the bus bit first in LIST, D1 to the second, and so on: each bit number once, apart by commas, 8 of them (0 to 7), or 16 (0 to 15) for a 16-bit chip (--width 2 or more), whose words hold D0 to D7 in their first byte. Each chip holds its bytes so that the bus reads the image.</source>
        <translation>基板がチップのデータ線 D0 を LIST の最初のバスのビットに、D1 を二番目に、… とつないでいます。各ビット番号を一度ずつ、コンマで区切って、8 個 (0 から 7)、または 16 ビットのチップ (--width 2 以上) では 16 個 (0 から 15) 指定します。16 ビットのチップのワードは最初のバイトに D0 から D7 を持ちます。各チップは、バスがイメージを読めるようにバイトを持ちます。</translation>
    </message>
    <message>
        <source>The board connects chip address line A0 to the bus address bit first in LIST, A1 to the second, and so on, counting the chip's words: one for each address line of the chip (15 for a byte-wide 32K chip, 18 for a 16-bit 512K one), whose size must be a power of two.</source>
        <translation>基板がチップのアドレス線 A0 を LIST の最初のバスのアドレスビットに、A1 を二番目に、… とつないでいます。チップのワード単位で数え、チップのアドレス線ごとに一つ指定します (バイト幅の 32K のチップなら 15 個、16 ビットの 512K のチップなら 18 個)。チップの大きさは 2 のべき乗でなければなりません。</translation>
    </message>
    <message>
        <source>Tells, for each DUMP read from a chip, which part of which split of IMAGE it is, in any order: every --ways, --width and --swap, on its own or on a chip of the dump's size, alone or in banks, padded with 0xFF or 0x00, mirrored, or at the top of the chip (--offset). One line a dump: 'DUMP: way I of --ways N --width W', then ' --swap' if swapped, ' --size SIZE' for one chip padded, ' --offset SIZE', ' --fill 0x00' or ' --fill mirror' for a chip filled so, then ', bank B of SIZE' if banked, then ': exact' or ': N bytes differ'. With --data-lines or --address-lines, each DUMP is read as its board reads it and placed only on chips so wired (of its word, and of its size for address lines); no other wiring is tried. Ways and banks count from 0 as split names them: ways 0 and 1 of two are _g and _k. A dump that matches nowhere gets its nearest part and lines starting 'likely:' saying why it may differ, or 'no part' where none is near. Exit status 0 if every dump matched exactly, 1 if one did not, 2 if a file cannot be read or the options cannot be carried out.</source>
        <translation>チップから読み出した各 DUMP が、IMAGE のどの分割のどの部品かを、順不同で答えます。あらゆる --ways、--width、--swap について、そのままでも、ダンプの大きさのチップに入れたものでも、単独でもバンクでも、0xFF や 0x00 で埋めたものでも、mirror でも、チップの上端に置いたもの (--offset) でも探します。ダンプごとに一行: ウェイ、--ways、--width と、入れ替えなら --swap、埋めたチップなら --size SIZE、--offset SIZE、--fill 0x00 か --fill mirror、バンクならバンク番号、最後に一致か違うバイト数。--data-lines か --address-lines を付けると、各 DUMP を基板が読むとおりに読み、そのように配線できるチップ (そのワードの、アドレス線ならその大きさの) だけに置きます。ほかの配線は試しません。ウェイとバンクは split の名前と同じく 0 から数えます (二つのウェイの 0 と 1 は _g と _k)。どこにも一致しないダンプには最も近い部品と、違う理由を述べる推定原因の行を示し、近いものがなければ該当なしと示します。終了ステータスは、すべてのダンプが完全に一致すれば 0、一致しないものがあれば 1、読めないファイルがあるかオプションを実行できなければ 2 です。</translation>
    </message>
    <message>
        <source>Joins the PARTs into OUTPUT, the exact inverse of split with the same --ways, --width, --swap, --data-lines and --address-lines, or with --banks of a banked split, its chips listed as split lists them. Each PART may be raw bytes, Intel HEX or S-records, told from its content; a record part's gaps read as --fill, and where the parts cannot come from one split as they are, a record part whose data stops short is filled as far as makes them fit. Then prints OUTPUT with its size, CRC-32 and 16- and 32-bit byte sums.

</source>
        <translation>PART を OUTPUT に結合します。同じ --ways、--width、--swap、--data-lines、--address-lines の split のちょうど逆で、バンク分けした分割なら --banks を付け、チップを split が並べる順に並べます。各 PART は中身に応じてバイトのまま、Intel HEX、S レコードとして読みます。レコードの部品の隙間は --fill として読み、部品がそのままでは一つの分割から生じたものにならないときは、データが途中で終わるレコードの部品を合うところまで埋めます。最後に OUTPUT を大きさ、CRC-32、16 ビットと 32 ビットのバイト和とともに表示します。

</translation>
    </message>
    <message>
        <source>Deals SOURCE round-robin to the images of its chips: with two ways, the even bytes to the first OUTPUT and the odd to the second. With no OUTPUT named: SOURCE less its last four characters, then _g.bin and _k.bin (_0.bin, _1.bin, ... for one or more than two ways; _g_0.bin, ... with --banks; .hex or .srec with --format). With --data-lines or --address-lines, each chip holds its bytes where its board's wiring reads them, after the deal and --swap. Then prints each file written with its size, CRC-32 and 16- and 32-bit byte sums.

</source>
        <translation>SOURCE のバイトを順に配って各チップのイメージにします。二つのウェイなら偶数番地のバイトを一つ目の OUTPUT に、奇数番地のバイトを二つ目に。OUTPUT を指定しなければ、SOURCE の最後の 4 文字を除き、_g.bin と _k.bin を付けた名前にします (一つまたは三つ以上のウェイでは _0.bin、_1.bin、…、--banks では _g_0.bin、…、--format では .hex か .srec)。--data-lines か --address-lines を付けると、配ったあと、--swap のあとで、各チップは基板の配線が読む位置にバイトを持ちます。最後に書いた各ファイルを大きさ、CRC-32、16 ビットと 32 ビットのバイト和とともに表示します。

</translation>
    </message>
    <message>
        <source>Checks that the PARTs are exactly what split SOURCE with the same options would write, padding included. Each PART may be raw bytes, Intel HEX or S-records, told from its content. Exit status 0 and one line a part if so; otherwise 1, and for each part that differs, how many bytes, the first eight with their part and source offsets, any difference in size, and lines starting 'likely:' naming each cause that accounts for all of its differences (a blank or half-burnt chip, chips in each other's sockets, a stuck or crossed data or address line, with the --data-lines or --address-lines that would match it, a chip too small, ...); lines for the whole set come last. Parts over %1 are only checked for being another part. A part or source that cannot be read is exit status 2, as are options that cannot be carried out.

</source>
        <translation>PART が、同じオプションで SOURCE を split したときに書かれるものと、埋め草も含めて完全に同じかを確かめます。各 PART は中身に応じてバイトのまま、Intel HEX、S レコードとして読みます。同じなら終了ステータス 0 で部品ごとに一行。違えば 1 で、違う部品ごとに、違うバイト数、最初の 8 か所とその部品と元での位置、大きさの違い、そして違いのすべてを説明する原因ごとの推定原因の行 (空のチップや書き込みの途中で止まったチップ、入れ違えたソケット、固定されたか入れ替わったデータ線やアドレス線とそれに合う --data-lines や --address-lines、小さすぎるチップ、…) を示します。組全体についての行は最後です。%1 を超える部品は、別の部品でないかだけを確かめます。読めない部品や元、実行できないオプションは終了ステータス 2 です。

</translation>
    </message>
</context>
<context>
    <name>Finding</name>
    <message>
        <source>repeats every 0x%1 bytes: an %2 chip?</source>
        <translation>0x%1 バイトごとに繰り返しています。%2 のチップでは?</translation>
    </message>
    <message>
        <source>repeats every 0x%1 bytes: a %2 chip?</source>
        <translation>0x%1 バイトごとに繰り返しています。%2 のチップでは?</translation>
    </message>
    <message>
        <source>blank</source>
        <translation>空 (消去されたまま)</translation>
    </message>
    <message>
        <source>stops at 0x%1</source>
        <translation>0x%1 から先が消去されたまま</translation>
    </message>
    <message>
        <source>is %1</source>
        <translation>%1 の内容</translation>
    </message>
    <message>
        <source>byte-swapped</source>
        <translation>バイト順が逆</translation>
    </message>
    <message>
        <source>D%1 stuck at %2</source>
        <translation>D%1 が %2 に固定</translation>
    </message>
    <message>
        <source>A%1 stuck at %2</source>
        <translation>A%1 が %2 に固定</translation>
    </message>
    <message>
        <source>A%1 and A%2 swapped</source>
        <translation>A%1 と A%2 が入れ替わっている</translation>
    </message>
    <message>
        <source>shifted by %1</source>
        <translation>%1 バイトずれている</translation>
    </message>
    <message>
        <source>filled with 0x%1, not 0x%2</source>
        <translation>埋め値が 0x%2 でなく 0x%1</translation>
    </message>
    <message>
        <source>filled with copies of the image (--fill mirror), not 0x%1</source>
        <translation>埋め値が 0x%1 でなくイメージの繰り返し (--fill mirror)</translation>
    </message>
    <message>
        <source>1 single-bit difference: a weak chip or a bad read?</source>
        <translation>1 ビットだけの違いが 1 か所。チップの劣化か読み取りの誤りでは?</translation>
    </message>
    <message>
        <source>%1 single-bit differences: a weak chip or a bad read?</source>
        <translation>1 ビットだけの違いが %1 か所。チップの劣化か読み取りの誤りでは?</translation>
    </message>
    <message>
        <source>%1 bits differ</source>
        <translation>%1 ビットが違います</translation>
    </message>
    <message>
        <source>the set matches in the order %1</source>
        <translation>%1 の順なら組が一致します</translation>
    </message>
    <message>
        <source>matches --ways %1 --width %2%3</source>
        <translation>--ways %1 --width %2%3 と一致します</translation>
    </message>
    <message>
        <source>1 bit unstable, in D%1: a weak cell or a bad read?</source>
        <translation>D%1 の 1 ビットが不安定。弱ったセルか読み出しの誤りでは?</translation>
    </message>
    <message>
        <source>%1 bits unstable, all in D%2: a bad contact on D%2?</source>
        <translation>不安定な %1 ビットがすべて D%2。D%2 の接触不良では?</translation>
    </message>
    <message>
        <source>%1 bits unstable over %2 data lines: a weak chip or a poor socket?</source>
        <translation>%2 本のデータ線にわたって %1 ビットが不安定。チップの劣化かソケットの不良では?</translation>
    </message>
    <message>
        <source>D%1 and D%2 swapped: matches --data-lines %3</source>
        <translation>D%1 と D%2 が入れ替わっている: --data-lines %3 に一致</translation>
    </message>
    <message>
        <source>A%1 and A%2 swapped: matches --address-lines %3</source>
        <translation>A%1 と A%2 が入れ替わっている: --address-lines %3 に一致</translation>
    </message>
</context>
<context>
    <name>Identify</name>
    <message>
        <source>empty</source>
        <translation>空です</translation>
    </message>
    <message>
        <source>too short to place: under %1 bytes</source>
        <translation>短すぎて位置を決められません (%1 バイト未満)</translation>
    </message>
    <message>
        <source>over %1, more than is held in memory</source>
        <translation>%1 を超え、メモリに保持できる大きさを超えています</translation>
    </message>
    <message>
        <source>no split of the image has a part of its size</source>
        <translation>この大きさの部品を生じるイメージの分割はありません</translation>
    </message>
</context>
<context>
    <name>RuntimeError</name>
    <message>
        <source>The argument is not valid.</source>
        <translation>引数が正しくありません。</translation>
    </message>
    <message>
        <source>The operation was cancelled.</source>
        <translation>操作がキャンセルされました。</translation>
    </message>
    <message>
        <source>Too many files are open.</source>
        <translation>開いているファイルが多すぎます。</translation>
    </message>
    <message>
        <source>The file name is not valid.</source>
        <translation>ファイル名が正しくありません。</translation>
    </message>
    <message>
        <source>The file was not found.</source>
        <translation>ファイルが見つかりません。</translation>
    </message>
    <message>
        <source>The disk is full, or the file is too large.</source>
        <translation>ディスクの空き容量が不足しているか、ファイルが大きすぎます。</translation>
    </message>
    <message>
        <source>A device error occurred while reading or writing.</source>
        <translation>読み書きの途中で装置のエラーが起きました。</translation>
    </message>
    <message>
        <source>Access was denied.</source>
        <translation>アクセスが拒否されました。</translation>
    </message>
    <message>
        <source>The folder was not found.</source>
        <translation>フォルダが見つかりません。</translation>
    </message>
    <message>
        <source>A folder was given where a file is needed.</source>
        <translation>ファイルではなくフォルダが指定されています。</translation>
    </message>
    <message>
        <source>The same file cannot be both input and output, or two outputs.</source>
        <translation>同じファイルを入力と出力に、または二つの出力に指定することはできません。</translation>
    </message>
    <message>
        <source>The parts' sizes do not fit one split.</source>
        <translation>分割ファイルの大きさが一つの分割から生じたものと合いません。</translation>
    </message>
    <message>
        <source>The image does not fit the chip.</source>
        <translation>イメージがチップに収まりません。</translation>
    </message>
    <message>
        <source>A line of Intel HEX or S-records is not valid.</source>
        <translation>Intel HEX または S レコードの行が正しくありません。</translation>
    </message>
    <message>
        <source>Out of memory.</source>
        <translation>メモリが不足しています。</translation>
    </message>
    <message>
        <source>An unexpected error occurred.</source>
        <translation>予期しないエラーが起きました。</translation>
    </message>
    <message>
        <source>The file changed while it was read.</source>
        <translation>読み込みの途中でファイルが変更されました。</translation>
    </message>
    <message>
        <source>The file is in use by another program.</source>
        <translation>ファイルは別のプログラムが使用中です。</translation>
    </message>
    <message>
        <source>Unknown error.</source>
        <translation>不明なエラーです。</translation>
    </message>
    <message>
        <source>('%1')</source>
        <comment>the file an error names</comment>
        <translation>(「%1」)</translation>
    </message>
    <message>
        <source>(output at least %1 bytes, chip %2 bytes)</source>
        <translation>(出力 %1 バイト以上、チップ %2 バイト)</translation>
    </message>
    <message>
        <source>(output %1 bytes, chip %2 bytes)</source>
        <translation>(出力 %1 バイト、チップ %2 バイト)</translation>
    </message>
    <message>
        <source>(--length %1 bytes is longer than the parts' %2 bytes)</source>
        <translation>(--length %1 バイトは部品の合計 %2 バイトより長い)</translation>
    </message>
    <message>
        <source>(past --length, at 0x%1, is 0x%2, not the fill)</source>
        <translation>(--length の先、0x%1 に埋め値でないバイト 0x%2 があります)</translation>
    </message>
    <message>
        <source>(before --offset %1, at 0x%2, is 0x%3, not the fill)</source>
        <translation>(--offset %1 の手前、0x%2 に埋め値でないバイト 0x%3 があります)</translation>
    </message>
    <message>
        <source>(its status changed: a write, a new link or a change of permissions changes it)</source>
        <translation>(ファイルの状態が変わりました。書き込みのほか、リンクの追加やアクセス権の変更でも変わります)</translation>
    </message>
    <message>
        <source>(the old files could not be put back: the outputs are a mix of old and new)</source>
        <translation>(元のファイルに戻せませんでした。出力は新旧が混ざっています)</translation>
    </message>
    <message>
        <source>The name is too short to make the output names from.</source>
        <translation>出力ファイル名を作るには名前が短すぎます。</translation>
    </message>
    <message>
        <source>(a Windows device name; to write to the device, give %1)</source>
        <translation>(Windows の装置名です。装置に書くには %1 と指定してください)</translation>
    </message>
    <message>
        <source>(Intel HEX and S-records hold at most 4 GiB)</source>
        <translation>(Intel HEX と S レコードで書けるのは 4 GiB まで)</translation>
    </message>
    <message>
        <source>the start of the record is not valid</source>
        <translation>レコードの始まりが正しくありません</translation>
    </message>
    <message>
        <source>the length is not valid</source>
        <translation>長さが正しくありません</translation>
    </message>
    <message>
        <source>a character is not a hex digit</source>
        <translation>16 進数でない文字があります</translation>
    </message>
    <message>
        <source>the checksum does not match</source>
        <translation>チェックサムが合いません</translation>
    </message>
    <message>
        <source>(line %1: %2)</source>
        <translation>(%1 行目: %2)</translation>
    </message>
    <message>
        <source>it is UTF-16; save it as ASCII or UTF-8</source>
        <translation>UTF-16 です。ASCII か UTF-8 で保存してください</translation>
    </message>
    <message>
        <source>it looks like %1; Intel HEX and S-records are read. Add --raw to take its bytes as they are</source>
        <translation>%1 の形式に見えます。読めるのは Intel HEX と S レコードです。バイトのまま読むなら --raw を付けてください</translation>
    </message>
    <message>
        <source>no end-of-file record</source>
        <translation>終了レコードがありません</translation>
    </message>
    <message>
        <source>the line is too long</source>
        <translation>行が長すぎます</translation>
    </message>
    <message>
        <source>unknown record type</source>
        <translation>知らないレコード型です</translation>
    </message>
    <message>
        <source>not the length of a record of this type</source>
        <translation>この型のレコードの長さではありません</translation>
    </message>
    <message>
        <source>the address of a record of this type is 0</source>
        <translation>この型のレコードのアドレスは 0 です</translation>
    </message>
    <message>
        <source>the record crosses a 64 KiB boundary</source>
        <translation>レコードが 64 KiB の境を越えます</translation>
    </message>
    <message>
        <source>%1 data records, but the count record says %2</source>
        <translation>データレコードの数 %1 が件数レコードの %2 と合いません</translation>
    </message>
    <message>
        <source>a data record after the count record</source>
        <translation>件数レコードの後にデータレコードがあります</translation>
    </message>
    <message>
        <source>the address is beyond 4 GiB</source>
        <translation>アドレスが 4 GiB を越えます</translation>
    </message>
    <message>
        <source>the address 0x%1 is before the previous record</source>
        <translation>アドレス 0x%1 が前のレコードより前です</translation>
    </message>
    <message>
        <source>lines after the end-of-file record</source>
        <translation>終了レコードの後にも行があります</translation>
    </message>
    <message>
        <source>ASCII-hex or Verilog hex</source>
        <translation>ASCII-hex または Verilog hex</translation>
    </message>
    <message>
        <source>(sizes: %1)</source>
        <translation>(大きさ: %1)</translation>
    </message>
    <message>
        <source>(%1 bytes, --offset %2)</source>
        <translation>(%1 バイト、--offset %2)</translation>
    </message>
    <message>
        <source>standard output</source>
        <translation>標準出力</translation>
    </message>
    <message>
        <source>standard input</source>
        <translation>標準入力</translation>
    </message>
    <message>
        <source>the address 0x%1 is below --base 0x%2</source>
        <translation>アドレス 0x%1 が --base 0x%2 より下にある</translation>
    </message>
    <message>
        <source>(the chosen record addresses reach only to 0x%1)</source>
        <translation>（選んだレコードのアドレスは 0x%1 までしか届かない）</translation>
    </message>
</context>
<context>
    <name>UsageError</name>
    <message>
        <source>unknown command '%1': did you mean '%2'?</source>
        <translation>「%1」というコマンドはありません。「%2」のことですか?</translation>
    </message>
    <message>
        <source>unknown option '%1%2': did you mean --%3?</source>
        <translation>「%1%2」というオプションはありません。--%3 のことですか?</translation>
    </message>
    <message>
        <source>a command's options follow it, as in 'tamrivel-cli split --ways 4 rom.bin'</source>
        <translation>コマンドのオプションはコマンドの後に書きます。例: 'tamrivel-cli split --ways 4 rom.bin'</translation>
    </message>
    <message>
        <source>help takes one command</source>
        <translation>help に指定できるコマンドは一つです</translation>
    </message>
    <message>
        <source>unknown chip '%1'; closest: %2 (see 'tamrivel-cli chips')</source>
        <translation>「%1」というチップはありません。近いもの: %2 ('tamrivel-cli chips' を参照)</translation>
    </message>
    <message>
        <source>--format is bin, ihex or srec, not '%1'</source>
        <translation>--format は bin、ihex、srec のいずれかです (「%1」ではなく)</translation>
    </message>
    <message>
        <source>give --chip or --size, not both</source>
        <translation>--chip と --size はどちらか一方だけを指定してください</translation>
    </message>
    <message>
        <source>--banks needs --chip or --size</source>
        <translation>--banks には --chip か --size が必要です</translation>
    </message>
    <message>
        <source>--%1 takes a whole number, not '%2'</source>
        <translation>--%1 には整数を指定します (「%2」ではなく)</translation>
    </message>
    <message>
        <source>--%1 takes a size such as 32768, 0x8000, 32K or 1M, not '%2'</source>
        <translation>--%1 には 32768、0x8000、32K、1M のような大きさを指定します (「%2」ではなく)</translation>
    </message>
    <message>
        <source>--%1 takes a byte, 0 to 255 or 0x00 to 0xff, not '%2'</source>
        <translation>--%1 にはバイト (0 から 255、または 0x00 から 0xff) を指定します (「%2」ではなく)</translation>
    </message>
    <message>
        <source>--ways %1 does not match the %2 parts named</source>
        <translation>--ways %1 は指定した %2 個の部品と合いません</translation>
    </message>
    <message>
        <source>%1 parts named: a split has from %2 to %3, one for each way</source>
        <translation>部品が %1 個指定されています。分割はウェイごとに一つずつ、%2 個から %3 個です</translation>
    </message>
    <message>
        <source>%1 does not take %2%3</source>
        <translation>%1 は %2%3 を受け付けません</translation>
    </message>
    <message>
        <source>: did you mean --%1?</source>
        <translation>。--%1 のことですか?</translation>
    </message>
    <message>
        <source>chips takes no files</source>
        <translation>chips はファイルを受け付けません</translation>
    </message>
    <message>
        <source>identify needs an IMAGE and its DUMPs</source>
        <translation>identify には IMAGE とその DUMP が必要です</translation>
    </message>
    <message>
        <source>%1 PARTs do not make banks of %2 ways</source>
        <translation>%1 個の PART では %2 ウェイのバンクになりません</translation>
    </message>
    <message>
        <source>the PARTs are named as the banks of a split: join them with --banks</source>
        <translation>PART の名前はバンク分けした分割のものです。--banks を付けて結合してください</translation>
    </message>
    <message>
        <source>split needs a SOURCE</source>
        <translation>split には SOURCE が必要です</translation>
    </message>
    <message>
        <source>verify needs a SOURCE and its PARTs</source>
        <translation>verify には SOURCE とその PART が必要です</translation>
    </message>
    <message>
        <source> or </source>
        <translation> または </translation>
    </message>
    <message>
        <source>ways must be from %1 to %2</source>
        <translation>ウェイ数は %1 から %2 までです</translation>
    </message>
    <message>
        <source>width must be %1</source>
        <translation>幅は %1 のいずれかです</translation>
    </message>
    <message>
        <source>swap needs a width of 2 or more</source>
        <translation>--swap には 2 以上の幅が必要です</translation>
    </message>
    <message>
        <source>'%1' is a stream, whose size is known only once it is read to its end, and %2 needs it first</source>
        <translation>「%1」はストリームで、大きさは最後まで読むまでわかりませんが、%2 には先に大きさが必要です</translation>
    </message>
    <message>
        <source>'%1' is not a regular file: name the outputs</source>
        <translation>「%1」は通常のファイルではありません。出力の名前を指定してください</translation>
    </message>
    <message>
        <source>'%1' exists; nothing was written (--force replaces it)</source>
        <translation>「%1」はすでにあります。何も書いていません (--force で置き換えます)</translation>
    </message>
    <message>
        <source>--offset %1 leaves no room in a chip of %2 bytes</source>
        <translation>--offset %1 ではバイト数 %2 のチップに空きが残りません</translation>
    </message>
    <message>
        <source>--banks of %1 bytes makes %2 chips for each of %3 ways; at most %4 files are written at once: is the size mistyped?</source>
        <translation>%1 バイトの --banks では %3 つのウェイそれぞれに %2 個のチップができます。一度に書けるのは %4 ファイルまでです。大きさの打ち間違いではありませんか?</translation>
    </message>
    <message>
        <source>%1 files named, but this split has %2 (%3 ways of %4 chips)</source>
        <translation>%1 個のファイルが指定されましたが、この分割は %2 個です (%3 ウェイ × %4 チップ)</translation>
    </message>
    <message>
        <source>--size, --chip, --banks or --format</source>
        <translation>--size、--chip、--banks、--format</translation>
    </message>
    <message>
        <source>'%1' places its records over 0x%2 bytes, nearly all of them gaps: give --length to join that much</source>
        <translation>「%1」のレコードは 0x%2 バイトにわたり、そのほとんどが隙間です。その大きさを結合するなら --length を指定してください</translation>
    </message>
    <message>
        <source>%1 cannot use standard input or output for its %2: name a file (./- for one named '-')</source>
        <translation>%1 は %2 に標準入力や標準出力を使えません。ファイルを指定してください ('-' という名前のファイルは ./-)</translation>
    </message>
    <message>
        <source>join writes a binary image, which a terminal would garble: send standard output to a file or a pipe</source>
        <translation>join が書くのはバイナリのイメージで、端末では表示が乱れます。標準出力をファイルかパイプに送ってください</translation>
    </message>
    <message>
        <source>standard input has no name to make the OUTPUTs' names from: name them</source>
        <translation>標準入力には OUTPUT の名前を作る元の名前がありません。OUTPUT を指定してください</translation>
    </message>
    <message>
        <source>unknown command '%1': say split, join, verify, identify, compare, sum or chips</source>
        <translation>「%1」というコマンドはありません。split、join、verify、identify、compare、sum、chips のいずれかを指定してください</translation>
    </message>
    <message>
        <source>say split, join, verify, identify, compare, sum or chips</source>
        <translation>split、join、verify、identify、compare、sum、chips のいずれかを指定してください</translation>
    </message>
    <message>
        <source>--record-size takes 1 to 255 data bytes a record, not '%1'</source>
        <translation>--record-size には 1 レコードのデータのバイト数を 1 から 255 で指定する。'%1' は使えない</translation>
    </message>
    <message>
        <source>--ihex-addressing is linear or segment, not '%1'</source>
        <translation>--ihex-addressing は linear か segment である。'%1' は使えない</translation>
    </message>
    <message>
        <source>--srec-address is 16, 24 or 32, not '%1'</source>
        <translation>--srec-address は 16、24、32 のどれかである。'%1' は使えない</translation>
    </message>
    <message>
        <source>--base takes an address below 4 GiB such as 0x8000 or 32K, not '%1'</source>
        <translation>--base には 0x8000 や 32K のような 4 GiB 未満のアドレスを指定する。'%1' は使えない</translation>
    </message>
    <message>
        <source>--%1 is for records: add --format ihex or --format srec</source>
        <translation>--%1 はレコードのためのもの。--format ihex か --format srec を付けること</translation>
    </message>
    <message>
        <source>--ihex-addressing is for --format ihex</source>
        <translation>--ihex-addressing は --format ihex のためのもの</translation>
    </message>
    <message>
        <source>--srec-address is for --format srec</source>
        <translation>--srec-address は --format srec のためのもの</translation>
    </message>
    <message>
        <source>compare needs two DUMPs or more</source>
        <translation>compare には DUMP が 2 個以上必要です</translation>
    </message>
    <message>
        <source>--vote needs three DUMPs or more, for a majority to tell</source>
        <translation>--vote には、多数決がとれるよう DUMP が 3 個以上必要です</translation>
    </message>
    <message>
        <source>sum needs a FILE</source>
        <translation>sum には FILE が必要です</translation>
    </message>
    <message>
        <source>--ihex-addressing segment reaches only the first MiB (to 0x100000), but %1 bytes from address 0x%2 end at 0x%3: use --ihex-addressing linear</source>
        <translation>--ihex-addressing segment は最初の 1 MiB（0x100000 まで）にしか届かないが、アドレス 0x%2 からの %1 バイトは 0x%3 で終わる。--ihex-addressing linear を使うこと</translation>
    </message>
    <message>
        <source>--srec-address %1 reaches only to 0x%2, but %3 bytes from address 0x%4 end at 0x%5: choose a wider address</source>
        <translation>--srec-address %1 は 0x%2 までしか届かないが、アドレス 0x%4 からの %3 バイトは 0x%5 で終わる。もっと広いアドレスを選ぶこと</translation>
    </message>
    <message>
        <source>records reach only to 4 GiB (0x100000000), but %1 bytes from --base 0x%2 end at 0x%3</source>
        <translation>レコードは 4 GiB（0x100000000）までしか届かないが、--base 0x%2 からの %1 バイトは 0x%3 で終わる</translation>
    </message>
    <message>
        <source>1 part named: a split has one for each way; for one chip holding the whole image, give --ways 1</source>
        <translation>部品が 1 個しか指定されていません。分割はウェイごとに一つです。イメージ全体を持つチップ 1 個なら --ways 1 を指定してください</translation>
    </message>
    <message>
        <source>--%1 takes line numbers apart by commas, such as 1,0,2,3,4,5,6,7, not '%2'</source>
        <translation>--%1 には 1,0,2,3,4,5,6,7 のようにコンマで区切った線の番号を指定します (「%2」ではなく)</translation>
    </message>
    <message>
        <source>join needs its PARTs and an OUTPUT</source>
        <translation>join には PART と OUTPUT が必要です</translation>
    </message>
    <message>
        <source>--data-lines lists %1 lines, but the chip has %2, D0 to D%3</source>
        <translation>--data-lines には %1 本の線がありますが、チップには D0 から D%3 の %2 本があります</translation>
    </message>
    <message>
        <source>--data-lines must name each bit from 0 to %1 once, not %2</source>
        <translation>--data-lines には 0 から %1 の各ビットを一度ずつ指定します (%2 ではなく)</translation>
    </message>
    <message>
        <source>--data-lines wires 16-bit words, but a chip of %1 bytes does not hold whole words</source>
        <translation>--data-lines は 16 ビットのワードを配線しますが、%1 バイトのチップはワードの整数倍ではありません</translation>
    </message>
    <message>
        <source>--address-lines needs a chip whose size is a power of two, not %1 bytes (give --chip or --size)</source>
        <translation>--address-lines には大きさが 2 のべき乗のチップが必要です (%1 バイトではなく。--chip か --size を指定してください)</translation>
    </message>
    <message>
        <source>--address-lines reorders each chip in memory: at most %1 MiB, not %2 bytes</source>
        <translation>--address-lines は各チップをメモリー上で並べ替えます: 最大 %1 MiB で、%2 バイトは扱えません</translation>
    </message>
    <message>
        <source>--address-lines lists %1 lines, but a chip of %2 bytes has %3, A0 to A%4</source>
        <translation>--address-lines には %1 本の線がありますが、%2 バイトのチップには A0 から A%4 の %3 本があります</translation>
    </message>
    <message>
        <source>--address-lines must name each address bit from 0 to %1 once, not %2</source>
        <translation>--address-lines には 0 から %1 の各アドレスビットを一度ずつ指定します (%2 ではなく)</translation>
    </message>
    <message>
        <source>--data-lines or --address-lines</source>
        <translation>--data-lines、--address-lines</translation>
    </message>
    <message>
        <source>'%1' is a record file, whose gaps cannot read as --fill 0x%2 through the 16-bit --data-lines given: give --fill 0xff or 0x00</source>
        <translation>「%1」はレコードのファイルで、その隙間は指定した 16 ビットの --data-lines を通すと --fill 0x%2 として読めません: --fill 0xff か 0x00 を指定してください</translation>
    </message>
    <message>
        <source>'%1': %2</source>
        <translation>「%1」: %2</translation>
    </message>
</context>
</TS>
