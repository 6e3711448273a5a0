# help2man fills the lines of a tool's examples into one paragraph: a line break after each text
# line of the EXAMPLES section keeps them one per line.
/^\.SH EXAMPLES$/,/^\.\(PP\|SH .*\)$/s/^[^.].*$/&\n.br/
